#pragma once
// Print pasted as braille: ordinary Japanese text translated automatically and typed at the
// caret through the TEXT input, so the braille rules add their signs, as one undo step.

#include "AutoTranslator.h"
#include "ReviewItem.h"

#include <string>
#include <string_view>
#include <vector>

namespace braille {

class EditingSession;

struct AutoTranslatePasteResult {
    // Anything went in: false when the translation was empty or all of it was left out (kanji
    // the dictionary has no reading for, which no table knows).
    bool typed = false;
    std::size_t leftOut = 0; // characters of the translation no table knows, left out
    std::string error; // why nothing was typed (no dictionary, no document)
    // Words for the transcriber to check: readings chosen without knowing the sense, and words
    // the dictionary does not know.
    std::vector<autotranslate::WordCount> guessed;
    std::vector<autotranslate::WordCount> unknown;
    // The same words where they went in, for the review list: places as they are after the
    // paste.
    std::vector<ReviewItem> review;
};

// `translator` null means the analyser could not be opened: `openError` says why and nothing is
// typed.
AutoTranslatePasteResult pasteTranslated(EditingSession& session, const autotranslate::AutoTranslator* translator,
                                         std::u16string_view print, const std::string& openError = {});

} // namespace braille
