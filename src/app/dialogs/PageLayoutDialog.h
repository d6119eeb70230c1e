#pragma once
// The page layout dialog: lines per page and cells per line, each a field with arrows from 1 to
// 100. OK checks both (PageLayoutInput) and writes them to the settings file, cells per line
// first; a refused field keeps the dialog open and writes nothing.

#include "PageLayout.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace braille {

class PageLayoutDialog : public QDialog {
public:
    explicit PageLayoutDialog(QWidget* parent = nullptr);

    QLineEdit* linesField() const { return m_lines; }
    QLineEdit* cellsField() const { return m_cells; }
    // Tests see the refusal instead of a message box.

    void accept() override;

private:
    QLineEdit* m_lines;
    QLineEdit* m_cells;
};

} // namespace braille
