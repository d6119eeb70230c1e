#pragma once
// The find and replace dialog without its window: two fields that hold characters (entries, not
// text), typed in Text, Math or Braille mode, with their carets; the search direction; and the
// buttons, which turn into requests for the editing session.
//
// Text mode converts each typed character at once (a space is a blank cell); Math and Braille
// collect keys and offer the matching characters of the math or gaiji set as candidates, chosen
// with Up, Down and Enter. The first click of "置換して次に" or "すべて置換" only finds (the
// replace-armed flag); "次を検索" disarms it again.

#include "CandidateMatches.h"
#include "EditingSession.h"
#include "KanaComposer.h"

#include <optional>
#include <string>

namespace braille {

class FindReplaceForm {
public:
    enum class Field { Find, Replace };
    enum class Mode { Text, Math, Braille };

    // `lengthLimit` is the cells per line: the caret never moves to that many characters of text.
    explicit FindReplaceForm(std::uint32_t lengthLimit = 32) : m_lengthLimit(lengthLimit) {}

    // A selection of the document as the initial find text, with the caret after it; it is
    // edited like anything typed.
    void setInitialFind(const EntryList& entries);

    void setActive(Field field);
    Field active() const { return m_active; }
    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    void setDown(bool down) { m_down = down; }
    // Text mode composes kana from typed letters with Tenkora's own kana input, as the view does
    // when there is no system input method.
    void setComposeKana(bool compose) { m_composeKana = compose; }
    bool down() const { return m_down; }

    // A typed character (a key in Math and Braille), and the editing keys (virtual keys: Back,
    // Delete, Left, Right, Home, End, Up, Down, Return).
    void type(char16_t c);
    // Text that an input method committed into a field in Text mode.
    void typeText(std::u16string_view text);
    void key(int virtualKey);

    const EntryList& entries(Field field) const;
    std::size_t caret(Field field) const { return field == Field::Find ? m_findCaret : m_replaceCaret; }
    // What a field shows: the print texts of its entries; and the caret as a position in it.
    std::u16string text(Field field) const;
    std::size_t textCaret(Field field) const;
    // The candidates of Math and Braille for the keys pending, and the chosen line.
    const CandidateMatches& candidates() const { return m_candidates; }
    const std::u16string& pendingKeys() const { return m_pending; }
    // The letters being composed in Text mode.
    const std::u16string& composition() const { return m_composer.composition(); }
    // The three buttons are enabled while the find field shows something.
    bool buttonsEnabled() const { return !text(Field::Find).empty(); }
    bool armed() const { return m_armed; }

    // The buttons.
    FindRequest findNext();
    FindRequest replaceAndNext();
    FindRequest replaceAll();

private:
    EntryList& list(Field field) { return field == Field::Find ? m_find : m_replace; }
    std::size_t& caretOf(Field field) { return field == Field::Find ? m_findCaret : m_replaceCaret; }
    void insert(const EntryList& entries);
    FindRequest request(FindRequest::Kind kind) const;
    FindRequest armed(FindRequest::Kind kind);
    const CharacterIndex& candidateIndex() const;

    std::uint32_t m_lengthLimit;
    EntryList m_find, m_replace;
    std::size_t m_findCaret = 0, m_replaceCaret = 0;
    Field m_active = Field::Find;
    Mode m_mode = Mode::Text;
    bool m_down = true;
    bool m_armed = false;
    std::u16string m_pending;
    CandidateMatches m_candidates;
    bool m_composeKana = false;
    KanaComposer m_composer;
};

} // namespace braille
