#pragma once
// What link mode needs of the window it runs in: the editing session, the book replaced by the
// companion's text, the focus, the status line, the debug console and closing. The main window
// provides it; link mode knows nothing else of the window.

#include <QString>

namespace braille {

class EditingSession;

class LinkHost {
public:
    virtual ~LinkHost() = default;

    virtual EditingSession& linkSession() = 0;
    // Opens the work file in place of the book, without the question about unsaved changes (the
    // old text belongs to the companion).
    virtual void openLinkText(const QString& path) = 0;
    virtual void focusEditor() = 0;
    virtual void showLinkStatus(const QString& text) = 0;
    virtual void logToConsole(const QString& text) = 0;
    // The companion ended link mode: the window closes without a question.
    virtual void closeForCompanion() = 0;
    // The book's state changed behind the view's back (saved for the companion, a key replayed).
    virtual void editorStateChanged() = 0;
    // The window is in the middle of work that must not be interrupted by a new text (a book
    // being read or imported, a tool running, a long paste): frames wait until it is over.
    virtual bool editorBusy() const = 0;
};

} // namespace braille
