#include "PageLayoutInput.h"

namespace braille {

LayoutField readLayoutField(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return {std::nullopt, text.size() > 9 && text.find_first_not_of(u"0123456789") == std::u16string_view::npos
                                  ? u"1 から 100 までの整数を入力してください。"
                                  : u"整数を入力してください。"};
    int value = 0;
    for (char16_t c : text) {
        // Full-width digits are digits too: they come from the input method.
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'０' && c <= u'９' ? c - u'０' : -1;
        if (digit < 0)
            return {std::nullopt, u"整数を入力してください。"};
        value = value * 10 + digit;
    }
    if (negative)
        value = -value;
    if (value < kLayoutMinimum || value > kLayoutMaximum)
        return {std::nullopt, u"1 から 100 までの整数を入力してください。"};
    return {value, {}};
}

LayoutInput readPageLayout(std::u16string_view linesPerPage, std::u16string_view cellsPerLine)
{
    const LayoutField lines = readLayoutField(linesPerPage);
    if (!lines.value)
        return {std::nullopt, lines.message};
    const LayoutField cells = readLayoutField(cellsPerLine);
    if (!cells.value)
        return {std::nullopt, cells.message};
    return {PageLayout{std::uint32_t(*lines.value), std::uint32_t(*cells.value)}, {}};
}

} // namespace braille
