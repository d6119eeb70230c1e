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

QString AboutDialog::licencesText()
{
    // The libraries and data Tenkora is built on or ships with, and the licence of each.
    return QStringLiteral(
        "Tenkora は次のライブラリとデータを使っています。\n"
        "Qt %1 — LGPL 3.0\n"
        "MeCab — BSD / LGPL 2.1 / GPL 2.0（いずれかを選択）\n"
        "IPA 辞書（mecab-ipadic）— IPA 辞書のライセンス\n"
        "pugixml — MIT\n"
        "libzip — BSD 3 条項\n"
        "Gumbo（HTML5 パーサー）— Apache 2.0\n"
        "BrlAPI（BRLTTY）— LGPL 2.1 以降\n"
        "CUPS（libcups）— Apache 2.0\n"
        "IPA フォント — IPA フォントライセンス v1.0")
        .arg(QString::fromLatin1(qVersion()));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報 Tenkora"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(versionText(), this);
    label->setObjectName(QStringLiteral("version"));
    layout->addWidget(label);
    auto* what = new QLabel(QStringLiteral("点字の本（文章と数式）を作り、校正し、打ち出すための点訳エディターです。"), this);
    what->setObjectName(QStringLiteral("what"));
    what->setWordWrap(true);
    layout->addWidget(what);
    auto* licences = new QLabel(licencesText(), this);
    licences->setObjectName(QStringLiteral("licences"));
    licences->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(licences);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace braille
