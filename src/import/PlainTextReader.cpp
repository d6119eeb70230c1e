#include "ParagraphBuilder.h"
#include "Readers.h"
#include "Utf.h"

namespace braille::import {

std::string readPlainText(std::u16string_view text, PrintBook& book)
{
    book.source = PrintBook::Source::PlainText;
    forEachLine(text, [&](std::u16string_view line, std::size_t, bool) {
        PrintParagraph paragraph;
        paragraph.text = std::u16string(line);
        trimParagraph(paragraph);
        if (!paragraph.text.empty())
            book.body.push_back(std::move(paragraph));
    });
    return {};
}

} // namespace braille::import
