#include "ImeInput.h"

#include "BrailleRules.h"
#include "RecordedEditing.h"

namespace braille {

using Conversion = InputMethod::Conversion;

ImeInput::ImeInput(BrailleDocumentCursor& cursor, UndoHistory& undo,
                                                     ScrollState& scroll, InputMethod& inputMethod)
    : MovementInput(cursor, undo, scroll), m_inputMethod(inputMethod)
{
}

void ImeInput::activate()
{
    if (!m_inputMethod.isOpen())
        m_inputMethod.setOpen(true);
    m_inputMethod.setConversion(Conversion::Hiragana);
}

void ImeInput::deactivate()
{
    if (m_inputMethod.isOpen())
        m_inputMethod.setOpen(false);
    m_inputMethod.setConversion(Conversion::Off);
}

int ImeInput::inputMethodState()
{
    if (!m_inputMethod.isOpen())
        return 0;
    switch (m_inputMethod.conversion()) {
    case Conversion::Katakana:
        return 2;
    case Conversion::Hiragana:
        return 8;
    default:
        return 0;
    }
}

void ImeInput::toggleKana()
{
    const Conversion now = m_inputMethod.isOpen() ? m_inputMethod.conversion() : Conversion::Off;
    if (now == Conversion::Katakana) {
        m_inputMethod.setOpen(false);
        m_inputMethod.setConversion(Conversion::Off);
        return;
    }
    if (!m_inputMethod.isOpen())
        m_inputMethod.setOpen(true);
    m_inputMethod.setConversion(now == Conversion::Hiragana ? Conversion::Katakana : Conversion::Hiragana);
}

bool ImeInput::consumeEcho(char16_t c)
{
    if (m_read >= m_resultText.size() || m_resultText[m_read] != c)
        return false;
    if (++m_read == m_resultText.size()) {
        m_resultText.clear();
        m_read = 0;
    }
    return true;
}

int ImeInput::charTyped(char16_t c)
{
    if (c == u' ' && m_spaceTyped) {
        // The character of the Space key, whose key-down inserted the blank already.
        m_spaceTyped = false;
        return kHandled;
    }
    m_spaceTyped = false;
    if (m_read < m_resultText.size()) {
        if (consumeEcho(c))
            return kNotHandled;
        // Not the expected echo: the rest of the result will not come, and this character is
        // new input that must not be lost.
        m_resultText.clear();
        m_read = 0;
    }
    if (commonCharacter(c))
        return kHandledCaretMoved;
    if (!hasDocument())
        return kNotHandled;

    // A character from the input method stands for its whole result string. A character that
    // does not begin the result string did not come from it (the input method was bypassed),
    // and is its own result.
    m_resultText.assign(1, c);
    if (c >= 0x80) {
        const std::u16string result = m_inputMethod.resultString();
        if (!result.empty() && result.front() == c)
            m_resultText = result;
    }
    m_read = 0;
    const std::u16string result = m_resultText;
    consumeEcho(c);
    return typeResult(result);
}

namespace {

bool isSmallKana(char16_t c)
{
    static constexpr std::u16string_view small = u"ゃゅょぁぃぅぇぉゎャュョァィゥェォヮ";
    return small.find(c) != std::u16string_view::npos;
}

bool isKana(char16_t c) { return (c >= u'ぁ' && c <= u'ゖ') || (c >= u'ァ' && c <= u'ヺ'); }

} // namespace

std::vector<std::u16string> ImeInput::resultPieces(std::u16string_view text)
{
    std::vector<std::u16string> pieces;
    for (char16_t c : text) {
        if (isSmallKana(c) && !pieces.empty() && isKana(pieces.back().back()) && !isSmallKana(pieces.back().back()))
            pieces.back().push_back(c);
        else
            pieces.emplace_back(1, c);
    }
    return pieces;
}

int ImeInput::typeResult(std::u16string_view text)
{
    if (!hasDocument() || text.empty())
        return kNotHandled;
    deleteSelectionRecorded(m_cursor, m_undo);
    for (const std::u16string& piece : resultPieces(text)) {
        if (piece == u" " || piece == u"\u3000") {
            insertRecorded({m_dictionary.blankEntry()});
            continue;
        }
        const EntryList inserted = insertTextRecorded(m_cursor, m_undo, piece, kTextSet, kTextSet);
        m_cursor.collapseSelection();
        applyRules(m_cursor, m_undo, inserted);
    }
    return kHandledCaretMoved;
}

int ImeInput::displayCell(SetNumber set, char16_t cell) { return typeDisplayCell(set, cell, kTextSet); }

int ImeInput::displayCellBuffered(SetNumber set, char16_t cell)
{
    return collectDisplayCell(set, cell, kTextSet);
}

int ImeInput::flushDisplayCells(SetNumber set) { return flushBufferedCells(set, kTextSet); }

void ImeInput::paintPending(int x, int y) { m_inputMethod.setCompositionPosition(x + 2, y + 2); }

} // namespace braille
