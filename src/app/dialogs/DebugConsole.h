#pragma once
// The debug console: a window of white text on black into which the program prints diagnostic
// lines (link mode's handles and messages, the command line). There is one per process; it is
// made by the first toggle and only shown and hidden after that. Its place and whether it was
// shown are kept in the profile (Settings: ConsolePosition, ShowConrole).

#include <QDialog>

class QPlainTextEdit;

namespace braille {

class DebugConsole : public QDialog {
public:
    explicit DebugConsole(QWidget* parent = nullptr);
    ~DebugConsole() override;

    QString text() const;
    void print(const QString& text);

    // The four commands of its menu.
    void clearConsole();
    void showEnvironment();
    void copyText();
    // Asks for a file and saves the text there; a failure is shown.
    void saveTextAs();
    // Saves the text to `path`; the message for the user when it failed, else empty.
    QString saveText(const QString& path);

    // The one console, or none before the first toggle.
    static DebugConsole* instance();
    // Makes the console (with its header) or shows or hides it, and keeps the choice.
    static void toggle(QWidget* mainWindow, quint64 companion = 0, bool linkMode = false);
    static void destroy();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restorePlacement(bool show);
    void savePlacement();

    QPlainTextEdit* m_edit;
};

// Prints into the console; nothing happens while it was never opened.
void consolePrint(const QString& text);

} // namespace braille
