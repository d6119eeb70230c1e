#pragma once
// The one way the window asks the user something or tells them something: questions, messages,
// warnings and file names. Each goes to a message box or a file dialog, unless answers are set,
// as tests set them to play the user; an answer that is not set still shows the real dialog.
// A prompt given no parent belongs to the window in front (a dialog of the editor's, or the main
// window), so that it never falls behind it and screen readers tie it to it.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace braille {

class Prompts {
public:
    struct Answers {
        // Returns a QMessageBox::StandardButton of `buttons`.
        std::function<int(const QString& text, int buttons)> question;
        std::function<QString(const QString& title, const QString& filter)> openName;
        std::function<QString(const QString& title, const QString& filter, const QString& start)> saveName;
        // Messages and warnings alike.
        std::function<void(const QString& text)> message;
        // Returns the index of the chosen one of `choices`.
        std::function<int(const QString& text, const QStringList& choices)> choice;
    };
    // Answers for every prompt from now on; {} brings the real dialogs back.
    static void setAnswers(Answers answers);

    // `defaultButton`: the one Enter presses (0: the box's own choice).
    static int question(const QString& text, int buttons, QWidget* parent = nullptr, const QString& title = {},
                        int defaultButton = 0);
    // One of `choices` as buttons (the first is the default); the index of the chosen one, or -1
    // when the box was closed. `escape`: the choice Escape makes (none when -1).
    static int choose(const QString& text, const QStringList& choices, QWidget* parent = nullptr, int escape = -1);
    static void tell(const QString& text, QWidget* parent = nullptr);
    static void warn(const QString& text, QWidget* parent = nullptr);
    static QString openName(const QString& filter, const QString& start, QWidget* parent = nullptr);
    // A name to save to; a name typed without an extension gets the filter's (book → book.bml).
    static QString saveName(const QString& filter, const QString& start, QWidget* parent = nullptr,
                            const QString& title = {});
    // The progress of long work, window-modal over `parent`'s window, with a キャンセル button;
    // it shows after `showAfterMs` (0: at once, so that nothing typed meanwhile reaches the book).
    static std::unique_ptr<QProgressDialog> progress(const QString& label, QWidget* parent, int maximum,
                                                     int showAfterMs);
};

} // namespace braille
