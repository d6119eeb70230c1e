#pragma once
// The six keys of braille typing on the keyboard: F D S J K L are dots 1 to 6 (the left hand's
// three fingers dots 1-2-3, the right hand's dots 4-5-6), as on a braille writer.

#include <string_view>

namespace braille {

constexpr std::u16string_view kChordKeys = u"FDSJKL";

// The dot of a chord key (either case) as a bit of the chord mask: dot 1 = 1, dot 2 = 2, dot 3 =
// 4, dot 4 = 8, dot 5 = 16, dot 6 = 32; 0 for any other character.
constexpr int chordDotOfKey(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        c = char16_t(c - u'a' + u'A');
    const std::size_t i = kChordKeys.find(c);
    return i == std::u16string_view::npos ? 0 : 1 << i;
}

} // namespace braille
