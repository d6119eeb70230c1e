#pragma once
// The readers importPrintBook chooses between. Each fills a book and returns an empty string, or
// returns why it could not, in one line without the file's name.

#include "PrintBook.h"

#include <string>
#include <string_view>

namespace braille::import {

class ZipArchive;

std::string readPlainText(std::u16string_view text, PrintBook& book);

// Whether decoded text uses Aozora Bunko's notation (ruby, annotations, its notation block).
bool looksLikeAozora(std::u16string_view text);
std::string readAozoraText(std::u16string_view text, PrintBook& book);

std::string readEpub(ZipArchive& zip, PrintBook& book);
std::string readDocx(ZipArchive& zip, PrintBook& book);
std::string readHtml(std::string_view bytes, const ImportOptions& options, PrintBook& book);

} // namespace braille::import
