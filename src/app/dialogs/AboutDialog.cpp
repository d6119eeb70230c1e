#include "AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#ifndef TENKORA_VERSION
#define TENKORA_VERSION "0.0.0.0"
#endif

namespace braille {

QString AboutDialog::versionText()
{
    return QStringLiteral("Tenkora, Version $VERSION$").replace(QStringLiteral("$VERSION$"), QStringLiteral(TENKORA_VERSION));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報 Tenkora"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(versionText(), this);
    label->setObjectName(QStringLiteral("version"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace braille
