#include "GoToPageDialog.h"

#include "Prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace braille {

GoToPageDialog::GoToPageDialog(int page, int line, std::function<QString(int, int)> go, QWidget* parent)
    : QDialog(parent), m_go(std::move(go))
{
    setWindowTitle(QStringLiteral("ページと行へ移動"));
    auto* form = new QFormLayout(this);
    // Wide ranges: a number past the section is answered with what the section has.
    m_page = new QSpinBox(this);
    m_page->setRange(1, 99999);
    m_page->setValue(page);
    m_page->setAccessibleName(QStringLiteral("ページ"));
    m_line = new QSpinBox(this);
    m_line->setRange(1, 999);
    m_line->setValue(line);
    m_line->setAccessibleName(QStringLiteral("行"));
    form->addRow(QStringLiteral("ページ(&P)："), m_page);
    form->addRow(QStringLiteral("行(&L)："), m_line);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("移動"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToPageDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToPageDialog::reject);
    m_page->selectAll();
    m_page->setFocus();
}

void GoToPageDialog::accept()
{
    // A number still being typed counts.
    m_page->interpretText();
    m_line->interpretText();
    const QString problem = m_go(m_page->value(), m_line->value());
    if (!problem.isEmpty()) {
        Prompts::warn(problem, this);
        activateWindow();
        m_page->setFocus();
        m_page->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace braille
