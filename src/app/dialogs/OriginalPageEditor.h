#pragma once
// The original-page editor: the rows of the body in three columns that scroll together (the
// row's page and line, its print text, and the original-page label where the labels change);
// only the label column can be edited, and only digits get into it. OK asks before the labels
// are written back.

#include "OriginalPages.h"

#include <QDialog>

#include <functional>

class QTextEdit;

namespace braille {

class OriginalPageEditor : public QDialog {
public:
    OriginalPageEditor(const OriginalPageRows& rows, std::uint32_t cellsPerLine, QWidget* parent = nullptr);

    QTextEdit* labelColumn() const { return m_labels; }
    // The lines of the label column, one a row, each at most cells-per-line long.
    std::vector<std::u16string> lines() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* m_rowLabels;
    QTextEdit* m_rowTexts;
    QTextEdit* m_labels;
    std::size_t m_rows;
    std::uint32_t m_cellsPerLine;
};

} // namespace braille
