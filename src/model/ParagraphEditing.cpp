#include "ParagraphEditing.h"

#include "RowLayout.h"

namespace braille {

namespace {

// Lays the paragraph out again, keeping the label of its first row.
void relayoutKeepingLabel(const BrailleDocument& document, BrailleParagraph& paragraph, std::u16string label)
{
    relayout(paragraph, document.cellsPerLine);
    if (!paragraph.rows.empty())
        paragraph.rows.front().orgPage = std::move(label);
}

std::u16string firstLabel(const BrailleParagraph& paragraph)
{
    return paragraph.rows.empty() ? std::u16string() : paragraph.rows.front().orgPage;
}

bool isStructural(const CharacterDictionary& d, const BrailleCharacter* e)
{
    return e == d.lineBreakEntry() || e == d.endMarkerEntry();
}

} // namespace

void deleteCharacter(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position)
{
    DocumentSection& section = document.section();
    CharacterSequence& chars = *paragraph->characters;
    if (position >= chars.size())
        return;
    const bool lastParagraph = std::next(paragraph) == section.paragraphs.end();
    const bool lastCharacter = position + 1 == chars.size();
    if (lastParagraph && lastCharacter)
        return; // the section's final end marker stays
    std::u16string label = firstLabel(*paragraph);
    std::int64_t rowsBefore = std::int64_t(paragraph->rows.size());
    chars.erase(chars.begin() + std::ptrdiff_t(position));
    if (lastCharacter) {
        // The line break went: the next paragraph joins this one. Its sequence stays in the
        // document's pool.
        auto following = std::next(paragraph);
        const CharacterSequence& more = *following->characters;
        chars.insert(chars.end(), more.begin(), more.end());
        rowsBefore += std::int64_t(following->rows.size());
        section.forgetPlaceOf(following);
        section.paragraphs.erase(following);
    }
    relayoutKeepingLabel(document, *paragraph, std::move(label));
    section.noteEdited(paragraph, std::int64_t(paragraph->rows.size()) - rowsBefore);
}

void insertEntries(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                   const EntryList& entries)
{
    CharacterSequence& chars = *paragraph->characters;
    if (position >= chars.size() || entries.empty())
        return;
    std::u16string label = firstLabel(*paragraph);
    const std::int64_t rowsBefore = std::int64_t(paragraph->rows.size());
    chars.insert(chars.begin() + std::ptrdiff_t(position), entries.begin(), entries.end());
    relayoutKeepingLabel(document, *paragraph, std::move(label));
    document.section().noteEdited(paragraph, std::int64_t(paragraph->rows.size()) - rowsBefore);
}

void insertCharacter(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                     const BrailleCharacter* entry)
{
    if (!entry || isStructural(CharacterDictionary::instance(), entry))
        return;
    insertEntries(document, paragraph, position, EntryList{entry});
}

std::size_t insertText(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position,
                       std::u16string_view text, StoredCharMode mode, SetNumber set)
{
    if (text.empty() || position >= paragraph->characters->size())
        return 0;
    const CharacterDictionary& d = CharacterDictionary::instance();
    EntryList entries;
    const char16_t* pos = text.data();
    const char16_t* end = pos + text.size();
    if (isKeySet(set))
        d.convertKeys(set, pos, end, entries);
    else
        d.convertText(mode, pos, end, entries);
    // A line break or end marker inside a paragraph would break its structure; no table can
    // produce one, and none is inserted here.
    std::erase_if(entries, [&](const BrailleCharacter* e) { return isStructural(d, e); });
    insertEntries(document, paragraph, position, entries);
    return entries.size();
}

void splitParagraph(BrailleDocument& document, ParagraphList::iterator paragraph, std::size_t position)
{
    CharacterSequence& chars = *paragraph->characters;
    if (chars.empty())
        return;
    position = std::min(position, chars.size() - 1);
    std::u16string label = firstLabel(*paragraph);
    const std::int64_t rowsBefore = std::int64_t(paragraph->rows.size());
    CharacterSequence* rest = document.newCharacterSequence();
    rest->assign(chars.begin() + std::ptrdiff_t(position), chars.end());
    chars.erase(chars.begin() + std::ptrdiff_t(position), chars.end());
    auto second = document.section().paragraphs.emplace(std::next(paragraph), rest);
    relayoutKeepingLabel(document, *second, label);
    chars.push_back(CharacterDictionary::instance().lineBreakEntry());
    relayoutKeepingLabel(document, *paragraph, std::move(label));
    document.section().noteEdited(
        paragraph, std::int64_t(paragraph->rows.size()) + std::int64_t(second->rows.size()) - rowsBefore);
}

} // namespace braille
