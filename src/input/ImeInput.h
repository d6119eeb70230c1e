#pragma once
// The input system of TEXT mode: Japanese text through an input method.
//
// The input method composes; this system takes what it commits. The committed result string
// arrives as typed characters, one per character of the result: on the first of them the whole
// result is converted into text-set characters, inserted at the caret as one undo step, and the
// braille rules run over it; the characters that follow are only echoes of it and are consumed.
// A character typed while the input method is closed (below U+0080) is its own result.
//
// It also opens, closes and switches the input method (hiragana, katakana, off) and converts the
// cells typed on a braille display while TEXT is active.

#include "InputMethod.h"
#include "MovementInput.h"

#include <string_view>
#include <vector>

namespace braille {

class ImeInput : public MovementInput {
public:
    ImeInput(BrailleDocumentCursor& cursor, UndoHistory& undo, ScrollState& scroll,
                              InputMethod& inputMethod);

    void activate() override;
    void deactivate() override;
    int inputMethodState() override;
    void toggleKana() override;
    int charTyped(char16_t c) override;
    bool isChordKey(char16_t) override { return false; }
    void startChordTimer() override {}
    void stopChordTimer() override {}
    int timerTick(int) override { return kHandledCaretMoved; }
    int chord(int) override { return kHandledCaretMoved; }
    int displayCell(SetNumber set, char16_t cell) override;
    int displayCellBuffered(SetNumber set, char16_t cell) override;
    int flushDisplayCells(SetNumber set) override;
    void paintPending(int x, int y) override;

    // A whole result string committed by the input method. It is inserted piece by piece, each
    // piece recorded and followed by the braille rules, so a phrase committed at once gets the
    // same signs as the same text typed a syllable at a time ("あ１" gets its number sign); a
    // blank inside it (U+0020 or U+3000) becomes the blank cell.
    int typeResult(std::u16string_view text);

    // A result cut into the pieces the rules look at: a kana with the small kana that belong to
    // it (ゃ ゅ ょ ぁ ぃ ぅ ぇ ぉ ゎ and their katakana) is one piece, every other character a
    // piece of its own.
    static std::vector<std::u16string> resultPieces(std::u16string_view text);

    // The result being echoed, and how much of it has arrived.
    const std::u16string& resultText() const { return m_resultText; }
    std::size_t resultRead() const { return m_read; }

private:
    // True when `c` is the next expected echo of the result (and is taken).
    bool consumeEcho(char16_t c);

    InputMethod& m_inputMethod;
    std::u16string m_resultText;
    std::size_t m_read = 0;
};

} // namespace braille
