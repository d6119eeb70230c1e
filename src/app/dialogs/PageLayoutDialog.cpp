#include "PageLayoutDialog.h"

#include "Prompts.h"
#include "PageLayoutInput.h"
#include "Settings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace braille {

namespace {

// A number field with the arrows that step it within 1..100.
QLineEdit* numberField(QWidget* parent, QGridLayout* grid, int row, const QString& label, const QString& unit, int value)
{
    grid->addWidget(new QLabel(label, parent), row, 0);
    auto* field = new QLineEdit(QString::number(value), parent);
    field->setAccessibleName(label);
    grid->addWidget(field, row, 1);
    const auto step = [field](int by) {
        bool ok = false;
        const int now = field->text().toInt(&ok);
        field->setText(QString::number(std::clamp(ok ? now + by : kLayoutMinimum, kLayoutMinimum, kLayoutMaximum)));
    };
    auto* up = new QToolButton(parent);
    up->setArrowType(Qt::UpArrow);
    up->setAccessibleName(label + QStringLiteral(" +1"));
    QObject::connect(up, &QToolButton::clicked, field, [step] { step(1); });
    auto* down = new QToolButton(parent);
    down->setArrowType(Qt::DownArrow);
    down->setAccessibleName(label + QStringLiteral(" -1"));
    QObject::connect(down, &QToolButton::clicked, field, [step] { step(-1); });
    grid->addWidget(up, row, 2);
    grid->addWidget(down, row, 3);
    grid->addWidget(new QLabel(unit, parent), row, 4);
    return field;
}

} // namespace

PageLayoutDialog::PageLayoutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ページレイアウト"));
    const PageLayout layout = Settings::pageLayout();
    auto* grid = new QGridLayout(this);
    m_lines = numberField(this, grid, 0, QStringLiteral("１頁の行数："), QStringLiteral("行"), int(layout.LineNumber));
    m_cells = numberField(this, grid, 1, QStringLiteral("１行のカラム数："), QStringLiteral("カラム"),
                          int(layout.ColumnNumber));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PageLayoutDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 5);
}

void PageLayoutDialog::accept()
{
    const LayoutInput input = readPageLayout(m_lines->text().toStdU16String(), m_cells->text().toStdU16String());
    if (!input.layout) {
        Prompts::tell(QString::fromStdU16String(input.message), this);
        return;
    }
    Settings::setPageLayout(*input.layout);
    QDialog::accept();
}

} // namespace braille
