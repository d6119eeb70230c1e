#include "ReviewItem.h"

#include <tuple>

namespace braille {

bool reviewOrder(const ReviewItem& a, const ReviewItem& b)
{
    return std::tuple(std::uint32_t(a.section), a.begin.paragraph, a.begin.character, a.end.paragraph, a.end.character) <
           std::tuple(std::uint32_t(b.section), b.begin.paragraph, b.begin.character, b.end.paragraph, b.end.character);
}

namespace {

std::u16string number(std::uint32_t n)
{
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

} // namespace

std::u16string reviewDescription(const ReviewItem& item)
{
    switch (item.kind) {
    case ReviewKind::GuessedReading:
        return u"読みを推測しました。読みを確かめてください";
    case ReviewKind::UnknownWord:
        return u"辞書にない語です。読みを確かめてください";
    case ReviewKind::StrayNumberSign:
        return u"数符のあとに数字がありません";
    case ReviewKind::DigitsWithoutNumberSign:
        return u"数字の前に数符がありません（かなとして読まれます）";
    case ReviewKind::KanaWithoutConnector:
        return u"数字のあとのア行・ラ行のかなの前につなぎ符がありません（数字として読まれます）";
    case ReviewKind::BlanksAfterPunctuation:
        return (item.print.starts_with(u"。") ? u"句点のあとは2マスあけますが、" : u"読点のあとは1マスあけますが、") +
               number(item.count) + u"マスです";
    case ReviewKind::LettersWithoutForeignSign:
        return u"アルファベットの前に外字符がありません（かなとして読まれます）";
    case ReviewKind::BreakInsideWord:
        return u"語の途中で改行しています";
    case ReviewKind::EmptyParagraphs:
        return u"空の段落が" + number(item.count) + u"つ続いています";
    }
    return {};
}

std::u16string sectionCaption(SectionKind section)
{
    switch (section) {
    case Cover:
        return u"表紙";
    case Contents:
        return u"目次";
    case Body:
        return u"本文";
    case Colophon:
        return u"奥付";
    }
    return {};
}

} // namespace braille
