#include "BrailleRules.h"

#include "CharacterPosition.h"
#include "ParagraphEditing.h"

#include <algorithm>
#include <array>

namespace braille {

namespace {

using Entry = const BrailleCharacter*;

bool is(Entry e, std::u16string_view print, std::u16string_view nabcc)
{
    return e && e->print == print && e->nabcc == nabcc;
}

bool isDigit(Entry e)
{
    return e && e->print.size() == 1 && e->print[0] >= u'０' && e->print[0] <= u'９';
}

// あ行 and ら行 kana have the cells of the digits 1..0 (あ = a = 1, ら = e + dot 5 ...); after a
// number they would be read as digits. Braille does not tell katakana from hiragana, so the
// katakana of the two rows need the connector just the same (６エン is "６えん", not "66ン").
bool isAOrRaRowKana(Entry e)
{
    static constexpr std::u16string_view kana[] = {u"あ", u"い", u"う", u"え", u"お", u"ら", u"り",
                                                   u"る", u"れ", u"ろ", u"ア", u"イ", u"ウ", u"エ",
                                                   u"オ", u"ラ", u"リ", u"ル", u"レ", u"ロ"};
    return e && std::find(std::begin(kana), std::end(kana), e->print) != std::end(kana);
}

// The letters a..j share their cells with the digits.
bool isAToJLetter(Entry e) { return e && !e->print.empty() && e->print[0] >= u'ａ' && e->print[0] <= u'ｊ'; }

bool between(Entry e, std::u16string_view low, std::u16string_view high)
{
    return e && std::u16string_view(e->print) >= low && std::u16string_view(e->print) <= high;
}

bool isLatinLetter(Entry e) { return between(e, u"Ａ", u"Ｚ") || between(e, u"ａ", u"ｚ"); }
// Any kana, hiragana or katakana, small ones and ゔ/ヴ among them: after a Latin letter each
// would be read as letters.
bool isKana(Entry e) { return between(e, u"ぁ", u"ゖ") || between(e, u"ァ", u"ヶ"); }

bool isNumericComma(Entry e) { return is(e, u"，", u"'"); }
bool isMathComma(Entry e) { return is(e, u"，", u"1"); }
bool isDecimalPoint(Entry e) { return is(e, u"．", u"1"); }
bool isNumberSign(Entry e) { return is(e, u"\uE003", u"#"); }
bool isSlash(Entry e) { return is(e, u"／", u"/"); }
bool isAbsoluteBar(Entry e) { return is(e, u"｜", u"\\"); }
bool isNormBar(Entry e) { return is(e, u" || ", u"\\\\"); }

bool isArrow(Entry e)
{
    static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 11> arrows = {{
        {u"←", u"[3"},
        {u"→", u"3O"},
        {u" <= ", u"[33"},
        {u" ⇒ ", u"33O"},
        {u"←→", u"[3O"},
        {u"  ⇔  ", u"[33O"},
        {u"↑", u"?"},
        {u"↓", u"#"},
        {u" |→ ", u"_3O"},
        {u" ↗ ", u",3O"},
        {u" ↘ ", u"@3O"},
    }};
    return e && std::any_of(arrows.begin(), arrows.end(), [&](const auto& a) { return is(e, a.first, a.second); });
}

// One run of the rules: the three positions they track and the edits they make.
class RuleRun {
public:
    RuleRun(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& typed)
        : m_cursor(cursor), m_undo(undo), m_document(*cursor.document), m_dictionary(CharacterDictionary::instance()),
          m_typedSet(typed.front()->set), m_typedCount(typed.size())
    {
        m_end = characterPosition(cursor);
        m_last = m_first = m_end;
        if (const auto x = previous(m_end))
            m_last = m_first = *x;
        else
            m_typedCount = 0; // nothing stands before the cursor
        for (std::size_t i = 1; i < m_typedCount; ++i)
            m_first = previous(m_first).value_or(m_first);
    }

    bool hasTypedText() const { return m_typedCount > 0; }

    void run()
    {
        commaInsideNumbers();
        blanksAroundPunctuation();
        pairedBar(isAbsoluteBar, u"｜", u"\\");
        pairedBar(isNormBar, u" || ", u"\\\\");
        fraction();
        numberSign();
        signAfterNumber(isAOrRaRowKana, u"\uE00D", u"-", m_typedSet);
        signAfterNumber(isAToJLetter, u"\uE01B", u";", m_typedSet);
        connectorAfterLetter();
        if (m_edited)
            placeCursor(m_cursor, m_end);
    }

private:
    std::optional<CharacterPosition> previous(CharacterPosition p) const { return previousPosition(m_document, p); }
    std::optional<CharacterPosition> next(CharacterPosition p) const { return nextPosition(m_document, p); }
    static Entry at(const std::optional<CharacterPosition>& p) { return p ? characterAt(*p) : nullptr; }
    Entry before(CharacterPosition p) const { return at(previous(p)); }

    Entry sign(SetNumber set, std::u16string_view print, std::u16string_view nabcc) const
    {
        return m_dictionary.findOrDefault(set, print, nabcc);
    }

    // Inserts the sign before the character at `p` and records it. Positions at or after `p` in
    // the paragraph move along, except E when `keepEnd` is set.
    bool insert(CharacterPosition p, Entry e, bool keepEnd = false)
    {
        if (!e)
            return false; // no set provides the sign
        insertCharacter(m_document, p.paragraph, p.character, e);
        m_document.modified = true;
        m_edited = true;
        for (CharacterPosition* tracked : {&m_first, &m_last, &m_end}) {
            if (tracked == &m_end && keepEnd)
                continue;
            if (tracked->paragraph == p.paragraph && tracked->character >= p.character)
                ++tracked->character;
        }
        const CellPosition cell = cellPosition(m_cursor, p);
        m_undo.recordAt(documentLocation(m_document, p), cell.row, cell.column, kInsertion, EntryList{e});
        return true;
    }

    // Replaces the character at `p` in place; not recorded.
    void replace(const std::optional<CharacterPosition>& p, Entry e)
    {
        if (!p || !e || characterAt(*p) == e)
            return;
        deleteCharacter(m_document, p->paragraph, p->character);
        insertCharacter(m_document, p->paragraph, p->character, e);
        m_document.modified = true;
        m_edited = true;
    }

    Entry numericComma() const { return sign(m_typedSet, u"，", u"'"); }

    // Rule 1. Between digits the comma is written with dot 3 (the numeric comma); elsewhere it
    // is the reading comma in text and the comma of formulas in math.
    void commaInsideNumbers()
    {
        const Entry x = characterAt(m_last);
        const auto p = previous(m_last);
        if (!p && isNumericComma(x))
            return;
        const auto n1 = next(m_last);
        if (isMathComma(x)) {
            if (isDigit(at(p)) && isDigit(at(n1)))
                replace(m_last, numericComma());
        } else if (isDigit(x)) {
            if (isMathComma(at(p)) && isDigit(before(*p)))
                replace(p, numericComma());
            if (isMathComma(at(n1)) && isDigit(at(next(*n1))))
                replace(n1, numericComma());
        } else if (isNumericComma(at(p))) {
            replace(p, ordinaryComma(at(p)));
        } else if (!isNumericComma(x) && isDigit(at(p)) && isNumericComma(at(n1))) {
            // Text typed between a number and its comma: the comma no longer stands inside a
            // number.
            replace(n1, ordinaryComma(at(n1)));
        }
    }

    Entry ordinaryComma(Entry comma) const
    {
        return comma->set == kTextSet ? sign(kTextSet, u"、", u";") : sign(kMathSet, u"，", u"1");
    }

    // Rule 2. Japanese braille leaves two blanks after 。 and one after 、; in formulas set
    // operators and arrows stand between blanks, and a comma or a vertical line is followed by
    // one.
    void blanksAroundPunctuation()
    {
        const Entry x = characterAt(m_last);
        const Entry blank = m_dictionary.blankEntry();
        int after = 0;
        if (x->set == kTextSet) {
            if (is(x, u"。", u"4"))
                after = 2;
            else if (is(x, u"、", u";"))
                after = 1;
        } else if (x->set == kMathSet) {
            if (is(x, u"∪", u"+") || is(x, u"∩", u"%") || isArrow(x)) {
                insert(m_last, blank);
                after = 1;
            } else if (isMathComma(x) || is(x, u"|", u"L")) {
                after = 1;
            }
        }
        for (int i = 0; i < after; ++i)
            if (const auto n = next(m_last))
                insert(*n, blank);
    }

    // Rules 3 and 4. Absolute-value and norm bars come in pairs; the caret goes between them.
    void pairedBar(bool (*test)(Entry), std::u16string_view print, std::u16string_view nabcc)
    {
        const Entry x = characterAt(m_last);
        if (x->set != kMathSet || !test(x))
            return;
        if (const auto n = next(m_last)) {
            insert(*n, sign(kMathSet, print, nabcc), true);
            m_end = *n;
        }
    }

    // Rule 5. A slash in a formula is a fraction line: the fraction opener goes before it and
    // the closer after it, and the caret before the slash so the numerator can be typed.
    void fraction()
    {
        const Entry x = characterAt(m_last);
        if (x->set == kTextSet || !isSlash(x))
            return;
        const auto gaijiOrSpecial = [&](std::u16string_view print, std::u16string_view nabcc) {
            Entry e = m_dictionary.find(kGaijiSet, print, nabcc);
            return e ? e : m_dictionary.find(kSpecialSet, print, nabcc);
        };
        insert(m_last, gaijiOrSpecial(u"\uE008", u"("));
        if (const auto n = next(m_last))
            insert(*n, gaijiOrSpecial(u"\uE009", u")"));
        m_end = m_last;
    }

    // Rule 6. A number begins with the number sign. Digits that continue a number (after a
    // digit, the numeric comma or the decimal point) take none, and neither does a digit typed
    // right after a number sign that is already there: the sign before it already opens the
    // number. That sign is there when the transcriber typed it (F8 and the display's "#") or when
    // the digit after it was deleted and another typed in its place ("５", Backspace, "６" keeps
    // the first digit's sign); a second sign would read as a stray cell before the number.
    void numberSign()
    {
        if (!isDigit(characterAt(m_first)))
            return;
        const Entry p = before(m_first);
        if (isDigit(p) || isNumericComma(p) || isDecimalPoint(p) || isNumberSign(p))
            return;
        insert(m_first, sign(m_typedSet, u"\uE003", u"#"));
    }

    // Rules 7 and 8.
    void signAfterNumber(bool (*test)(Entry), std::u16string_view print, std::u16string_view nabcc, SetNumber set)
    {
        if (test(characterAt(m_first)) && isDigit(before(m_first)))
            insert(m_first, sign(set, print, nabcc));
    }

    // Rule 9. Kana right after a Latin letter would be read as letters; the connector ends the
    // foreign-letter passage.
    void connectorAfterLetter()
    {
        if (isKana(characterAt(m_first)) && isLatinLetter(before(m_first)))
            insert(m_first, sign(kTextSet, u"\uE00D", u"-"));
    }

    BrailleDocumentCursor& m_cursor;
    UndoHistory& m_undo;
    BrailleDocument& m_document;
    const CharacterDictionary& m_dictionary;
    const SetNumber m_typedSet;
    std::size_t m_typedCount;
    CharacterPosition m_first; // F
    CharacterPosition m_last;  // X
    CharacterPosition m_end;   // E
    bool m_edited = false;
};

} // namespace

void BrailleRules::apply(BrailleDocumentCursor& cursor, UndoHistory& undo, const EntryList& typed)
{
    if (typed.empty() || !typed.front() || !cursor.isAttached())
        return;
    RuleRun run(cursor, undo, typed);
    if (run.hasTypedText())
        run.run();
}

} // namespace braille
