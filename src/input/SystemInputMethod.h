#pragma once
// The system's input method behind TEXT mode, as far as Tenkora can know it.
//
// A system input method composes on its own and hands the window finished text (a commit) and
// the text it is composing (the pre-edit); the window passes both to the session. Tenkora cannot
// open or close it, nor switch it to katakana: that is the transcriber's to do with the input
// method's own keys. So requests to open it or change its mode are ignored, and it reports itself
// open in hiragana, which is what TEXT mode expects of it. The result of the commit being typed is
// kept for the input system, which reads it when the commit's characters arrive.

#include "InputMethod.h"

namespace braille {

class SystemInputMethod final : public InputMethod {
public:
    bool isOpen() const override { return true; }
    void setOpen(bool) override {}
    Conversion conversion() const override { return Conversion::Hiragana; }
    void setConversion(Conversion) override {}
    std::u16string resultString() const override { return m_result; }
    void setCompositionPosition(int x, int y) override
    {
        m_x = x;
        m_y = y;
    }

    void setResult(std::u16string result) { m_result = std::move(result); }
    int compositionX() const { return m_x; }
    int compositionY() const { return m_y; }

private:
    std::u16string m_result;
    int m_x = 0;
    int m_y = 0;
};

} // namespace braille
