#pragma once
// The Japanese input method behind TEXT mode, as the IME input system sees it: whether it is
// open, whether it composes hiragana or katakana, the result string it has just committed and
// where its composition is shown.
//
// The window layer implements it over the system's input method or over Tenkora's own
// KanaComposer (ComposerInputMethod); tests use a fake.

#include <string>

namespace braille {

class InputMethod {
public:
    enum class Conversion { Off, Hiragana, Katakana };

    virtual ~InputMethod() = default;
    virtual bool isOpen() const = 0;
    virtual void setOpen(bool open) = 0;
    virtual Conversion conversion() const = 0;
    virtual void setConversion(Conversion conversion) = 0;
    // The text committed last; its characters then arrive one by one as typed characters.
    virtual std::u16string resultString() const = 0;
    // Where the composition is drawn, in view coordinates.
    virtual void setCompositionPosition(int x, int y) = 0;
};

} // namespace braille
