#pragma once
// A plain-text picture of a document section, one line per row, for the command-line tool and
// for tests: the row's original-page label, its characters' print texts, their cells (the line
// break's as "↲") and their set numbers, separated by tabs, under a heading
// "== NAME (R rows)".

#include "BrailleDocument.h"

#include <string>

namespace braille {

std::string dumpSection(const BrailleDocument& document, SectionKind kind);

} // namespace braille
