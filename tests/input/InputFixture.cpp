#include "InputFixture.h"

#include "PageLayout.h"
#include "Utf.h"
#include "VirtualKeys.h"

namespace braille::test {

InputFixture::InputFixture()
    : dictionary(shippedDictionary()), undo(cursor, &notifier), text(cursor, undo, scroll, inputMethod),
      math(cursor, undo, scroll, mathList), braille(cursor, undo, scroll, brailleList, timer),
      modes(cursor, undo, text, math, braille), m_savedColumns(pageLayout().ColumnNumber)
{
    pageLayout().ColumnNumber = 32;
    document.complete = true;
    load(u"");
    text.activate();
}

InputFixture::~InputFixture() { pageLayout().ColumnNumber = m_savedColumns; }

void InputFixture::load(std::u16string_view body, std::uint32_t row, std::uint32_t column)
{
    fillSection(document, body);
    cursor.attach(&document, row, column);
    undo.reset();
}

void InputFixture::toEnd()
{
    cursor.goTo(document.section().rowCount - 1, 0xFFFF);
    cursor.collapseSelection();
}

int InputFixture::press(int key, char16_t character, std::uint32_t flags)
{
    InputSystem& system = modes.active();
    int result = system.keyDown(key, 1, flags);
    if (character)
        result |= system.charTyped(character);
    system.keyUp(key, 1, flags | vk::RepeatFlag);
    return result;
}

int InputFixture::type(std::u16string_view typed)
{
    int result = 0;
    for (char16_t c : typed)
        result |= modes.active().charTyped(c);
    return result;
}

int InputFixture::commit(std::u16string_view result)
{
    inputMethod.result = std::u16string(result);
    return type(result);
}

std::string InputFixture::cells() const
{
    std::u16string out;
    for (const BrailleCharacter* e : flatCharacters(document)) {
        if (e == dictionary.endMarkerEntry())
            continue;
        out += e == dictionary.lineBreakEntry() ? u"$" : e->nabcc;
    }
    return toUtf8(out);
}

std::string InputFixture::print() const
{
    std::u16string out;
    for (const BrailleCharacter* e : flatCharacters(document))
        if (e != dictionary.endMarkerEntry())
            out += e->print;
    return toUtf8(out);
}

std::string InputFixture::undoAllThenRedoAll(bool ignoreCommaForms)
{
    // Every comma of the body, in any of its forms, as one mark.
    const auto commas = [&] {
        std::u16string out;
        for (const BrailleCharacter* e : flatCharacters(document))
            out += e->print == u"，" || e->print == u"、" ? std::u16string(u",") : e->nabcc;
        return toUtf8(out);
    };
    const std::string final = ignoreCommaForms ? commas() : cells();
    while (undo.canUndo())
        undo.undo();
    const std::string original = cells();
    while (undo.canRedo())
        undo.redo();
    EXPECT_EQ(ignoreCommaForms ? commas() : cells(), final) << "redo all";
    return original;
}

} // namespace braille::test
