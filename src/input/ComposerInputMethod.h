#pragma once
// Tenkora's own input method for TEXT mode, used when no system input method is active: the
// KanaComposer behind the InputMethod interface, and the delivery of what it commits to the input
// system as a system input method delivers its result strings.
//
// Each committed syllable becomes one result string whose characters are then typed into the
// input system, so the braille rules run syllable by syllable: "kyouha" delivers "きょ", "う",
// "は". A syllable is a character with the small kana that belong to it (きょ, ふぁ); anything
// else the composer commits in one go (ん and a following 、, a letter and a digit) is delivered
// one character at a time, because the rules look at the first and last character of a result.

#include "InputMethod.h"
#include "KanaComposer.h"
#include "InputSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace braille {

class ComposerInputMethod final : public InputMethod {
public:
    bool isOpen() const override { return m_composer.isOpen(); }
    void setOpen(bool open) override;
    Conversion conversion() const override;
    void setConversion(Conversion conversion) override;
    std::u16string resultString() const override { return m_result; }
    void setCompositionPosition(int x, int y) override;

    // A character typed while TEXT is active: composed, and what completes is delivered to
    // `target`. Returns the input system's results, combined.
    int type(char16_t c, InputSystem& target);
    // A key pressed while TEXT is active. While letters are being composed, Backspace takes the
    // last one back, Escape drops them and Enter commits them; such a key goes no further (true).
    bool takeKey(int key, InputSystem& target, int& result);

    // Drops the unfinished letters, as Escape does.
    void cancel() { m_composer.cancel(); }
    // Commits the unfinished letters, as Enter does, and delivers them.
    int flush(InputSystem& target);
    // Text committed as one result string, as a system input method commits it after a
    // conversion; its characters then arrive as typed characters.
    int commitResult(std::u16string_view text, InputSystem& target);

    // The unfinished letters and where to draw them.
    const std::u16string& composition() const { return m_composer.composition(); }
    int compositionX() const { return m_x; }
    int compositionY() const { return m_y; }

    // Committed text cut into the pieces an input method delivers one by one: a kana with the
    // small kana after it (ゃ ゅ ょ ぁ ぃ ぅ ぇ ぉ ゎ and their katakana) is one piece, every other
    // character a piece of its own.
    static std::vector<std::u16string> syllables(std::u16string_view text);

private:
    int deliver(std::u16string_view committed, InputSystem& target);

    KanaComposer m_composer;
    std::u16string m_result;
    int m_x = 0;
    int m_y = 0;
};

} // namespace braille
