#pragma once
// The window's "墨字を点訳して貼り付け" (Ctrl+Shift+V): the clipboard's plain text, Japanese
// print, translated automatically into braille kana and typed at the caret as one undo step.
// The analyser is opened the first time the command runs; the user dictionary is read again
// whenever the file changed (its time or size), so an edited file takes effect at once.

#include "ReviewItem.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace braille {

namespace autotranslate {
class AutoTranslator;
}
class EditorView;

class AutoTranslateAction {
public:
    AutoTranslateAction();
    ~AutoTranslateAction();
    AutoTranslateAction(const AutoTranslateAction&) = delete;
    AutoTranslateAction& operator=(const AutoTranslateAction&) = delete;

    void run(EditorView& view);
    // Print with kanji that the input method committed, translated and typed at the caret as one
    // undo step, with the same message as the translated paste.
    void typePrint(EditorView& view, const QString& text);
    // Where the words to check go after a paste (the review list).
    void setReviewSink(std::function<void(std::vector<ReviewItem>)> sink) { m_reviewSink = std::move(sink); }

private:
    // Translates `text` at the caret and says what happened; `source` names it in the messages.
    void translateAndType(EditorView& view, const QString& text, bool fromClipboard);
    void refreshUserReadings();

    std::unique_ptr<autotranslate::AutoTranslator> m_translator;
    std::string m_openError;
    // The user dictionary as last read: its path, its file's stamp, the lines skipped.
    struct ReadingsFile;
    std::unique_ptr<ReadingsFile> m_readings;
    std::function<void(std::vector<ReviewItem>)> m_reviewSink;
};

} // namespace braille
