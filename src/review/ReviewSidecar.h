#pragma once
// The review list kept beside its book: a small UTF-8 text file next to the BML
// ("BOOK.bml.review"), so that the BML stays exactly as the program that reads it expects.
//
// A header line, then one item a line, tab-separated: kind, section, the first and the end
// location (paragraph and character each), the done flag, the count, the print and the cells
// (tabs, line feeds and backslashes escaped). The file is written atomically; one that cannot be
// read is reported with its reason and nothing of it is used.

#include "ReviewItem.h"
#include "SaveResult.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace braille {

// The sidecar's path for a book's path.
std::filesystem::path reviewSidecarPath(const std::filesystem::path& book);

std::string writeReviewText(const std::vector<ReviewItem>& items);
SaveResult writeReviewSidecar(const std::filesystem::path& path, const std::vector<ReviewItem>& items);

struct ReviewRead {
    std::vector<ReviewItem> items;
    bool found = false;  // there was a file
    std::string error;   // why it could not be read (in Japanese); empty when it could
};
ReviewRead parseReviewText(std::string_view text);
// No file is no error: the book simply has no list.
ReviewRead readReviewSidecar(const std::filesystem::path& path);

} // namespace braille
