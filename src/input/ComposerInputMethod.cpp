#include "ComposerInputMethod.h"

#include "VirtualKeys.h"
#include "ImeInput.h"

namespace braille {


void ComposerInputMethod::setOpen(bool open)
{
    // Closing drops an unfinished composition, as closing an input method does.
    m_composer.setOpen(open);
}

InputMethod::Conversion ComposerInputMethod::conversion() const
{
    if (!m_composer.isOpen())
        return Conversion::Off;
    return m_composer.kana() == KanaComposer::Kana::Katakana ? Conversion::Katakana : Conversion::Hiragana;
}

void ComposerInputMethod::setConversion(Conversion conversion)
{
    if (conversion == Conversion::Katakana)
        m_composer.setKana(KanaComposer::Kana::Katakana);
    else if (conversion == Conversion::Hiragana)
        m_composer.setKana(KanaComposer::Kana::Hiragana);
}

void ComposerInputMethod::setCompositionPosition(int x, int y)
{
    m_x = x;
    m_y = y;
}

std::vector<std::u16string> ComposerInputMethod::syllables(std::u16string_view text)
{
    return ImeInput::resultPieces(text);
}

int ComposerInputMethod::deliver(std::u16string_view committed, InputSystem& target)
{
    int result = kNotHandled;
    for (const std::u16string& piece : syllables(committed)) {
        m_result = piece;
        for (char16_t c : piece)
            result |= target.charTyped(c);
    }
    m_result.clear();
    return result;
}

int ComposerInputMethod::type(char16_t c, InputSystem& target) { return deliver(m_composer.type(c), target); }

int ComposerInputMethod::flush(InputSystem& target)
{
    return m_composer.composition().empty() ? kNotHandled : deliver(m_composer.flush(), target);
}

int ComposerInputMethod::commitResult(std::u16string_view text, InputSystem& target)
{
    int result = kNotHandled;
    m_result = std::u16string(text);
    for (char16_t c : text)
        result |= target.charTyped(c);
    m_result.clear();
    return result;
}

bool ComposerInputMethod::takeKey(int key, InputSystem& target, int& result)
{
    if (m_composer.composition().empty())
        return false;
    switch (key) {
    case vk::Back:
        m_composer.backspace();
        result = kHandled;
        return true;
    case vk::Escape:
        m_composer.cancel();
        result = kHandled;
        return true;
    case vk::Return:
        result = deliver(m_composer.flush(), target);
        return true;
    default:
        return false;
    }
}

} // namespace braille
