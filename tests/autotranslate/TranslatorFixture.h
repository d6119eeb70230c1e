#pragma once
// The translator on the installed IPA dictionary, opened once for the tests that share it.

#include "AutoTranslator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace braille::test {

inline autotranslate::AutoTranslator& sharedTranslator()
{
    static autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
    if (!opened.translator)
        ADD_FAILURE() << "the MeCab IPA dictionary is not installed: " << opened.error;
    return *opened.translator;
}

// Braille kana with the blanks shown as "_", so a missing or extra blank is visible.
inline std::string withBlanks(std::u16string_view kana)
{
    std::string out;
    for (char16_t c : kana)
        out += c == u'\u3000' ? std::string("_") : u8(std::u16string(1, c));
    return out;
}

// The braille kana of `print`, blanks shown as "_".
inline std::string brailleOf(std::u16string_view print) { return withBlanks(sharedTranslator().translate(print).braille); }

} // namespace braille::test
