#pragma once
// ページと行へ移動 (Ctrl+G): asks for a braille page and a line of the current section, as the row
// labels count them, and hands them to `go`, which moves the caret or says why it cannot. The
// dialog stays open after a refusal (the message is shown through Prompts), so the numbers can
// be mended.

#include <QDialog>

#include <functional>

class QSpinBox;

namespace braille {

class GoToPageDialog : public QDialog {
    Q_OBJECT

public:
    // `go` returns why the place does not exist, or an empty text when the caret went there.
    GoToPageDialog(int page, int line, std::function<QString(int page, int line)> go, QWidget* parent = nullptr);

    QSpinBox* pageBox() const { return m_page; }
    QSpinBox* lineBox() const { return m_line; }

    void accept() override;

private:
    std::function<QString(int, int)> m_go;
    QSpinBox* m_page;
    QSpinBox* m_line;
};

} // namespace braille
