#include "DocumentBuilder.h"

#include "PageLayout.h"
#include "RowLayout.h"
#include "TestSupport.h"
#include "Utf.h"

namespace braille::test {

const BrailleCharacter* entryOf(char16_t c)
{
    const CharacterDictionary& d = shippedDictionary();
    if (c == u' ' || c == u'_')
        return d.blankEntry();
    if (c == u'\n')
        return d.lineBreakEntry();
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
        c = char16_t(c - u'!' + 0xFF01);
    KeyMatch m = CharacterDictionary::longestMatch(d.printSet(kTextSet).bySource(), std::u16string_view(&c, 1));
    return m ? m.entry : d.defaultEntry(kTextSet);
}

EntryList entriesOf(std::u16string_view text)
{
    EntryList out;
    for (char16_t c : text)
        out.push_back(entryOf(c));
    return out;
}

void fillSection(BrailleDocument& document, std::u16string_view text)
{
    const CharacterDictionary& d = shippedDictionary();
    // Tests set the width for the document they are about to fill, as the settings would.
    document.cellsPerLine = pageLayout().ColumnNumber;
    DocumentSection& section = document.section();
    section.paragraphs.clear();
    CharacterSequence* seq = document.newCharacterSequence();
    for (char16_t c : text) {
        seq->push_back(entryOf(c));
        if (c == u'\n') {
            relayout(section.paragraphs.emplace_back(seq), document.cellsPerLine);
            seq = document.newCharacterSequence();
        }
    }
    seq->push_back(d.endMarkerEntry());
    relayout(section.paragraphs.emplace_back(seq), document.cellsPerLine);
    document.recountRows();
}

std::string notation(const BrailleCharacter* e)
{
    const CharacterDictionary& d = shippedDictionary();
    if (e == d.blankEntry())
        return "_";
    if (e == d.lineBreakEntry())
        return "$";
    if (e == d.endMarkerEntry())
        return "*";
    if (e->print.size() == 1 && e->print[0] >= 0xFF21 && e->print[0] <= 0xFF5A)
        return std::string(1, char(e->print[0] - 0xFF01 + '!'));
    return toUtf8(e->print);
}

std::string dumpRows(const BrailleDocument& document)
{
    std::string out;
    for (const BrailleParagraph& p : document.section().paragraphs) {
        for (const BrailleRow& r : p.rows) {
            for (std::uint32_t k = r.begin; k < r.end; ++k)
                out += notation((*p.characters)[k]);
            out += "|" + std::to_string(r.width);
            if (!r.orgPage.empty())
                out += "@" + toUtf8(r.orgPage);
            out += "\n";
        }
    }
    return out;
}

EntryList flatCharacters(const BrailleDocument& document)
{
    EntryList out;
    for (const BrailleParagraph& p : document.section().paragraphs)
        out.insert(out.end(), p.characters->begin(), p.characters->end());
    return out;
}

std::string prints(const BrailleDocument& document, bool endMarker)
{
    std::string s;
    for (const BrailleCharacter* e : flatCharacters(document))
        if (endMarker || e != CharacterDictionary::instance().endMarkerEntry())
            s += u8(e->print);
    return s;
}

} // namespace braille::test
