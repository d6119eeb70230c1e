#include "FindReplaceForm.h"

#include "VirtualKeys.h"
#include "ImeInput.h"

namespace braille {

void FindReplaceForm::setActive(Field field) { m_active = field; }

void FindReplaceForm::setMode(Mode mode)
{
    if (!m_composer.composition().empty())
        typeText(m_composer.flush());
    m_mode = mode;
    m_pending.clear();
    m_candidates.clear();
}

const EntryList& FindReplaceForm::entries(Field field) const { return field == Field::Find ? m_find : m_replace; }

void FindReplaceForm::setInitialFind(const EntryList& entries)
{
    m_find.clear();
    for (const BrailleCharacter* e : entries)
        if (e)
            m_find.push_back(e);
    m_findCaret = m_find.size();
}

std::u16string FindReplaceForm::text(Field field) const
{
    std::u16string out;
    for (const BrailleCharacter* e : entries(field))
        out += e->print;
    return out;
}

std::size_t FindReplaceForm::textCaret(Field field) const
{
    const EntryList& list = entries(field);
    std::size_t units = 0;
    for (std::size_t i = 0; i < caret(field) && i < list.size(); ++i)
        units += list[i]->print.size();
    return units;
}

void FindReplaceForm::insert(const EntryList& entries)
{
    EntryList& l = list(m_active);
    std::size_t& c = caretOf(m_active);
    c = std::min(c, l.size());
    l.insert(l.begin() + std::ptrdiff_t(c), entries.begin(), entries.end());
    c += entries.size();
}

const CharacterIndex& FindReplaceForm::candidateIndex() const
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    return d.printSet(m_mode == Mode::Math ? kMathSet : kGaijiSet).bySource();
}

void FindReplaceForm::type(char16_t c)
{
    if (c < u' ' && c != u'\u3000')
        return; // control characters are keys
    if (m_mode == Mode::Text) {
        if (m_composeKana && c < 0x80 && c != u' ') {
            const std::u16string committed = m_composer.type(c);
            if (!committed.empty())
                typeText(committed);
            return;
        }
        if (m_composeKana && !m_composer.composition().empty())
            typeText(m_composer.flush());
        typeText(std::u16string_view(&c, 1));
        return;
    }
    m_pending.push_back(c);
    m_candidates.search(candidateIndex(), m_pending);
}

void FindReplaceForm::typeText(std::u16string_view text)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    EntryList entries;
    // Piece by piece as the view inserts committed text (a kana with its small kana is one
    // character, "きょ"), so that what is typed here finds what was typed there; what converts
    // to nothing is dropped.
    for (const std::u16string& piece : ImeInput::resultPieces(text)) {
        if (piece == u" " || piece == u"\u3000") {
            entries.push_back(d.blankEntry());
            continue;
        }
        StoredCharMode mode = kTextSet;
        const char16_t* pos = piece.data();
        d.convertText(mode, pos, pos + piece.size(), entries);
    }
    if (!entries.empty())
        insert(entries);
}

void FindReplaceForm::key(int virtualKey)
{
    // Letters being composed take Backspace, Escape and Enter; other keys commit them first.
    if (!m_composer.composition().empty()) {
        if (virtualKey == vk::Back) {
            m_composer.backspace();
            return;
        }
        if (virtualKey == vk::Escape) {
            m_composer.cancel();
            return;
        }
        typeText(m_composer.flush());
        if (virtualKey == vk::Return)
            return;
    }
    EntryList& l = list(m_active);
    std::size_t& c = caretOf(m_active);
    switch (virtualKey) {
    case vk::Back:
        if (!m_pending.empty()) {
            m_pending.pop_back();
            m_candidates.search(candidateIndex(), m_pending);
            if (m_pending.empty())
                m_candidates.clear();
        } else if (c > 0) {
            l.erase(l.begin() + std::ptrdiff_t(c - 1));
            --c;
        }
        break;
    case vk::Delete:
        if (c < l.size())
            l.erase(l.begin() + std::ptrdiff_t(c));
        break;
    case vk::Left:
        if (c > 0)
            --c;
        break;
    case vk::Right:
    case vk::End: {
        const std::size_t target = virtualKey == vk::End ? entries(m_active).size() : c + 1;
        // A caret that would reach the line length is refused.
        std::size_t units = 0;
        const EntryList& shown = entries(m_active);
        for (std::size_t i = 0; i < target && i < shown.size(); ++i)
            units += shown[i]->print.size();
        if (target <= shown.size() && units < m_lengthLimit)
            c = target;
        break;
    }
    case vk::Home:
        c = 0;
        break;
    case vk::Up:
        if (!m_pending.empty())
            m_candidates.selectPrevious();
        break;
    case vk::Down:
        if (!m_pending.empty())
            m_candidates.selectNext();
        break;
    case vk::Return:
        if (!m_pending.empty()) {
            if (const CandidateMatches::Candidate* chosen = m_candidates.selectedCandidate())
                insert({chosen->entry});
            m_pending.clear();
            m_candidates.clear();
        }
        break;
    default:
        break;
    }
}

FindRequest FindReplaceForm::request(FindRequest::Kind kind) const
{
    return {kind, m_down, entries(Field::Find), entries(Field::Replace)};
}

FindRequest FindReplaceForm::findNext()
{
    if (!m_composer.composition().empty())
        typeText(m_composer.flush());
    m_armed = false;
    return request(FindRequest::FindNext);
}

FindRequest FindReplaceForm::armed(FindRequest::Kind kind)
{
    if (!m_composer.composition().empty())
        typeText(m_composer.flush());
    // The first click of a replace button only finds.
    if (!m_armed) {
        m_armed = true;
        return request(FindRequest::FindNext);
    }
    return request(kind);
}

FindRequest FindReplaceForm::replaceAndNext() { return armed(FindRequest::Replace); }

FindRequest FindReplaceForm::replaceAll() { return armed(FindRequest::ReplaceAll); }

} // namespace braille
