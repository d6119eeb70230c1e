#include "EmbossJob.h"

#include "CellExport.h"

#include <charconv>

namespace braille {

namespace {

std::optional<std::uint32_t> pageNumber(std::string_view text)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PageRange> parsePageRange(std::string_view text)
{
    const std::size_t dash = text.find('-');
    const auto first = pageNumber(text.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : pageNumber(text.substr(dash + 1));
    if (!first || !last)
        return std::nullopt;
    return PageRange{*first, *last};
}

std::string rangeProblem(const PageRange& range, std::size_t pageCount)
{
    if (pageCount == 0)
        return "点字のページがありません。本が空です。";
    if (range.all())
        return {};
    if (range.first > range.last || range.last > pageCount)
        return "ページの範囲は 1 から " + std::to_string(pageCount) + " までの中で、始めが終わり以下になるように指定してください。";
    return {};
}

std::string embossBytes(const std::vector<BraillePage>& pages, const PageRange& range, std::uint32_t copies,
                        bool bothSides)
{
    std::vector<BraillePage> chosen;
    if (range.all())
        chosen = pages;
    else if (range.first >= 1 && range.first <= range.last && range.last <= pages.size())
        chosen.assign(pages.begin() + (range.first - 1), pages.begin() + range.last);
    const std::string copy = writeBrf(chosen);
    // The BRF writer separates pages with a form feed, and so do copies; on both sides of the
    // paper an odd copy is closed by an empty page, the back of its last sheet.
    const std::string between = bothSides && chosen.size() % 2 == 1 ? "\f\f" : "\f";
    std::string out;
    out.reserve((copy.size() + between.size()) * copies);
    for (std::uint32_t c = 0; c < copies; ++c) {
        if (c > 0)
            out += between;
        out += copy;
    }
    return out;
}

} // namespace braille
