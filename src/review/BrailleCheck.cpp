#include "BrailleCheck.h"

#include "Cells.h"
#include "CharacterDictionary.h"
#include "ReviewList.h"

#include <algorithm>
#include <iterator>

namespace braille {

namespace {

using Entry = const BrailleCharacter*;

// A sign the rules insert is the raw cell of the gaiji table: its print is the cell's
// private-use character.
bool isCell(Entry e, char16_t cell)
{
    return e && e->nabcc.size() == 1 && e->nabcc[0] == cell && e->print.size() == 1 && e->print[0] == cellToPrivate(cell);
}

bool isNumberSign(Entry e) { return isCell(e, u'#'); }
bool isForeignSign(Entry e) { return isCell(e, u';'); }
bool isCapitalSign(Entry e) { return isCell(e, u','); }
bool isForeignQuoteOpen(Entry e) { return isCell(e, u'8'); }
bool isForeignQuoteClose(Entry e) { return isCell(e, u'0'); }

bool printIs(Entry e, std::u16string_view print, std::u16string_view nabcc)
{
    return e && e->print == print && e->nabcc == nabcc;
}

bool isDigit(Entry e) { return e && e->print.size() == 1 && e->print[0] >= u'０' && e->print[0] <= u'９'; }
bool continuesNumber(Entry e)
{
    return isDigit(e) || printIs(e, u"，", u"'") || printIs(e, u"．", u"1") || isNumberSign(e);
}

// The kana whose cells are those of the digits 1..0 (あ = 1 ... ろ): after a number they read as
// digits unless the connector stands between.
bool isAOrRaRowKana(Entry e)
{
    static constexpr std::u16string_view kana = u"あいうえおらりるれろアイウエオラリルレロ";
    return e && !e->print.empty() && kana.find(e->print[0]) != std::u16string_view::npos;
}

bool isLatinLetter(Entry e)
{
    if (!e || e->print.size() != 1 || isMathSet(e->set))
        return false; // in formulas letters stand without a sign
    const char16_t c = e->print[0];
    return (c >= u'ａ' && c <= u'ｚ') || (c >= u'Ａ' && c <= u'Ｚ');
}

bool isKana(Entry e)
{
    if (!e || e->print.empty())
        return false;
    const char16_t c = e->print[0];
    return (c >= u'ぁ' && c <= u'ゖ') || (c >= u'ァ' && c <= u'ヶ') || c == u'ー';
}

bool isBlank(Entry e) { return e && e->set == kSpecialSet && e->nabcc == u" " && e->print == u"\u25A1"; }
bool isLineBreak(Entry e) { return e == CharacterDictionary::instance().lineBreakEntry(); }

// A character that belongs to a word: kana, digits, letters and the signs that open them.
bool isWordCharacter(Entry e)
{
    return isKana(e) || isDigit(e) || isLatinLetter(e) || isNumberSign(e) || isForeignSign(e);
}

std::u16string nabccOf(const CharacterSequence& chars, std::size_t from, std::size_t to)
{
    std::u16string out;
    for (std::size_t i = from; i < to; ++i)
        out += chars[i]->nabcc;
    return out;
}

std::u16string printOf(const CharacterSequence& chars, std::size_t from, std::size_t to)
{
    std::u16string out;
    for (std::size_t i = from; i < to; ++i)
        out += chars[i]->print;
    return out;
}

class SectionCheck {
public:
    SectionCheck(const BrailleDocument& document, SectionKind section, std::vector<ReviewItem>& out)
        : m_section(section), m_out(out)
    {
        for (const BrailleParagraph& p : document.sections[section].paragraphs)
            m_paragraphs.push_back(p.characters);
    }

    void run()
    {
        for (std::uint32_t p = 0; p < m_paragraphs.size(); ++p) {
            numbers(p);
            blanksAfterPunctuation(p);
            letterRuns(p);
            breakInsideWord(p);
        }
        emptyParagraphRuns();
    }

private:
    void add(ReviewKind kind, DocumentLocation begin, DocumentLocation end, std::uint32_t count = 0)
    {
        ReviewItem item;
        item.kind = kind;
        item.section = m_section;
        item.begin = begin;
        item.end = end;
        item.count = count;
        for (std::uint32_t p = begin.paragraph; p <= end.paragraph && p < m_paragraphs.size(); ++p) {
            const CharacterSequence& chars = *m_paragraphs[p];
            const std::size_t from = p == begin.paragraph ? begin.character : 0;
            const std::size_t to = p == end.paragraph ? end.character : chars.size();
            item.print += printOf(chars, from, to);
            item.braille += nabccOf(chars, from, to);
        }
        m_out.push_back(std::move(item));
    }

    // Rule: a number opens with the number sign, the sign stands only before digits, and an a-
    // or ra-row kana after the digits takes the connector.
    void numbers(std::uint32_t p)
    {
        const CharacterSequence& chars = *m_paragraphs[p];
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const Entry e = chars[i];
            const Entry previous = i > 0 ? chars[i - 1] : nullptr;
            const Entry next = i + 1 < chars.size() ? chars[i + 1] : nullptr;
            if (isNumberSign(e) && !isDigit(next)) {
                add(ReviewKind::StrayNumberSign, {p, std::uint32_t(i)}, {p, std::uint32_t(i + 1)});
            } else if (isDigit(e) && !continuesNumber(previous)) {
                std::size_t end = i + 1;
                while (end < chars.size() && isDigit(chars[end]))
                    ++end;
                add(ReviewKind::DigitsWithoutNumberSign, {p, std::uint32_t(i)}, {p, std::uint32_t(end)});
            }
            if (isDigit(e) && isAOrRaRowKana(next))
                add(ReviewKind::KanaWithoutConnector, {p, std::uint32_t(i + 1)}, {p, std::uint32_t(i + 2)});
        }
    }

    // Rule: one blank after 、 and two after 。 in text; at a paragraph's end the row ends, and
    // before a closing bracket or another mark none is wanted.
    void blanksAfterPunctuation(std::uint32_t p)
    {
        const CharacterSequence& chars = *m_paragraphs[p];
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const Entry e = chars[i];
            if (isMathSet(e->set))
                continue;
            const std::uint32_t wanted = printIs(e, u"。", u"4") ? 2 : printIs(e, u"、", u";") ? 1 : 0;
            if (!wanted)
                continue;
            std::size_t end = i + 1;
            while (end < chars.size() && isBlank(chars[end]))
                ++end;
            const std::uint32_t blanks = std::uint32_t(end - i - 1);
            if (end >= chars.size() || chars[end]->set == kSpecialSet)
                continue; // a line break or the end: the row ends there
            if (blanks > wanted || (blanks < wanted && isWordCharacter(chars[end])))
                add(ReviewKind::BlanksAfterPunctuation, {p, std::uint32_t(i)}, {p, std::uint32_t(end)}, blanks);
        }
    }

    // Rule: a run of Latin letters in text opens with the foreign-letter sign (a capital sign may
    // stand between), unless it stands inside foreign quotation marks.
    void letterRuns(std::uint32_t p)
    {
        const CharacterSequence& chars = *m_paragraphs[p];
        bool quoted = false;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const Entry e = chars[i];
            if (isForeignQuoteOpen(e))
                quoted = true;
            else if (isForeignQuoteClose(e))
                quoted = false;
            if (!isLatinLetter(e) || (i > 0 && (isLatinLetter(chars[i - 1]) || isCapitalSign(chars[i - 1]))))
                continue;
            if (quoted)
                continue;
            std::size_t begin = i;
            while (begin > 0 && isCapitalSign(chars[begin - 1]))
                --begin;
            if (begin > 0 && isForeignSign(chars[begin - 1]))
                continue;
            std::size_t end = i + 1;
            while (end < chars.size() && (isLatinLetter(chars[end]) || isCapitalSign(chars[end])))
                ++end;
            add(ReviewKind::LettersWithoutForeignSign, {p, std::uint32_t(begin)}, {p, std::uint32_t(end)});
            i = end - 1;
        }
    }

    // A paragraph that ends in the middle of a word: a letter, kana or digit right before the
    // line break and another right after it.
    void breakInsideWord(std::uint32_t p)
    {
        const CharacterSequence& chars = *m_paragraphs[p];
        if (p + 1 >= m_paragraphs.size() || chars.size() < 2 || !isLineBreak(chars.back()))
            return;
        const Entry last = chars[chars.size() - 2];
        const Entry first = m_paragraphs[p + 1]->front();
        if ((isKana(last) || isDigit(last) || isLatinLetter(last)) && isWordCharacter(first))
            add(ReviewKind::BreakInsideWord, {p, std::uint32_t(chars.size() - 1)}, {p + 1, 0});
    }

    // Two or more empty paragraphs in a row: a line left empty by mistake, or lines deleted
    // from a paragraph without their breaks.
    void emptyParagraphRuns()
    {
        const auto empty = [&](std::uint32_t p) {
            return m_paragraphs[p]->size() == 1 && isLineBreak(m_paragraphs[p]->front());
        };
        for (std::uint32_t p = 0; p < m_paragraphs.size();) {
            if (!empty(p)) {
                ++p;
                continue;
            }
            std::uint32_t end = p + 1;
            while (end < m_paragraphs.size() && empty(end))
                ++end;
            if (end - p >= 2)
                add(ReviewKind::EmptyParagraphs, {p + 1, 0}, {end, 0}, end - p);
            p = end;
        }
    }

    SectionKind m_section;
    std::vector<ReviewItem>& m_out;
    std::vector<const CharacterSequence*> m_paragraphs;
};

Entry signEntry(SetNumber set, char16_t cell)
{
    const char16_t print = cellToPrivate(cell);
    return CharacterDictionary::instance().findOrDefault(isMathSet(set) ? kMathSet : kTextSet,
                                                          std::u16string_view(&print, 1), std::u16string_view(&cell, 1));
}

} // namespace

std::vector<ReviewItem> checkSection(const BrailleDocument& document, SectionKind section)
{
    std::vector<ReviewItem> found;
    SectionCheck(document, section, found).run();
    std::stable_sort(found.begin(), found.end(), reviewOrder);
    return found;
}

std::vector<ReviewItem> checkBook(const BrailleDocument& document)
{
    std::vector<ReviewItem> found;
    for (int s = 0; s < kSectionCount; ++s) {
        std::vector<ReviewItem> part = checkSection(document, SectionKind(s));
        found.insert(found.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    }
    return found;
}

ReviewFix fixFor(const BrailleDocument& document, const ReviewItem& item)
{
    ReviewFix fix;
    if (isTranslationKind(item.kind))
        return fix;
    // The item must still stand on what the check found.
    const StretchText now = stretchText(document, item.section, item.begin, item.end);
    if (!now.valid || now.braille != item.braille)
        return fix;
    std::vector<const BrailleParagraph*> paragraphs;
    for (const BrailleParagraph& p : document.sections[item.section].paragraphs)
        paragraphs.push_back(&p);
    const auto at = [&](DocumentLocation l) -> Entry {
        const CharacterSequence& chars = *paragraphs[l.paragraph]->characters;
        return l.character < chars.size() ? chars[l.character] : nullptr;
    };
    fix.section = item.section;
    fix.at = fix.stop = item.begin;
    const Entry first = at(item.begin);
    switch (item.kind) {
    case ReviewKind::StrayNumberSign:
        fix.stop = item.end;
        fix.caption = u"数符を削除する";
        break;
    case ReviewKind::DigitsWithoutNumberSign:
        fix.insert = {signEntry(first->set, u'#')};
        fix.caption = u"数符を入れる";
        break;
    case ReviewKind::KanaWithoutConnector:
        fix.insert = {signEntry(first->set, u'-')};
        fix.caption = u"つなぎ符を入れる";
        break;
    case ReviewKind::LettersWithoutForeignSign:
        fix.insert = {signEntry(first->set, u';')};
        fix.caption = u"外字符を入れる";
        break;
    case ReviewKind::BlanksAfterPunctuation: {
        // The blanks are counted again in the book as it is now, and the stretch must still be
        // the mark and its blanks alone: an edit inside it, or a count from a damaged list file,
        // must never make the fix remove anything but blanks.
        const std::uint32_t wanted = printIs(first, u"。", u"4") ? 2 : 1;
        const std::uint32_t afterMark = item.begin.character + 1;
        std::uint32_t blanks = 0;
        while (isBlank(at({item.begin.paragraph, afterMark + blanks})))
            ++blanks;
        if (item.end.paragraph != item.begin.paragraph || item.end.character != afterMark + blanks ||
            blanks == wanted)
            return fix;
        if (blanks > wanted) {
            fix.at = {item.begin.paragraph, afterMark + wanted};
            fix.stop = {item.begin.paragraph, afterMark + blanks};
        } else {
            fix.at = fix.stop = {item.begin.paragraph, afterMark + blanks};
            fix.insert.assign(wanted - blanks, CharacterDictionary::instance().blankEntry());
        }
        fix.caption = wanted == 2 ? u"句点のあとを2マスあけにする" : u"読点のあとを1マスあけにする";
        break;
    }
    case ReviewKind::BreakInsideWord:
        fix.stop = item.end;
        fix.caption = u"改行を削除して語をつなげる";
        break;
    case ReviewKind::EmptyParagraphs:
        // Only paragraphs that are still empty are taken out: text typed into one of them stays.
        for (std::uint32_t p = item.begin.paragraph; p < item.end.paragraph; ++p)
            if (p >= paragraphs.size() || paragraphs[p]->characters->size() != 1 ||
                !isLineBreak((*paragraphs[p]->characters)[0]))
                return fix;
        fix.stop = item.end;
        fix.caption = u"空の段落を1つにする";
        break;
    default:
        return fix;
    }
    fix.possible = fix.at != fix.stop || (!fix.insert.empty() && fix.insert.front());
    return fix;
}

} // namespace braille
