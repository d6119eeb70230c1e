#include "OriginalPageEditor.h"

#include "Prompts.h"
#include "ConfigPaths.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace braille {

namespace {

QString joined(const std::vector<std::u16string>& lines)
{
    QStringList out;
    for (const std::u16string& line : lines)
        out << QString::fromStdU16String(line);
    return out.join(u'\n');
}

} // namespace

OriginalPageEditor::OriginalPageEditor(const OriginalPageRows& rows, std::uint32_t cellsPerLine, QWidget* parent)
    : QDialog(parent), m_rows(rows.rowLabels.size()), m_cellsPerLine(cellsPerLine)
{
    setWindowTitle(QStringLiteral("Tenkora - 原本ページ修正エディタ"));
    resize(760, 520);
    auto* grid = new QGridLayout(this);
    QFont font = this->font();
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Tenkora Cells")});
    font.setPixelSize(14);
    const auto column = [&](int at, const QString& heading, const std::vector<std::u16string>& lines, bool editable) {
        grid->addWidget(new QLabel(heading, this), 0, at);
        auto* edit = new QTextEdit(this);
        edit->setAcceptRichText(false);
        edit->setPlainText(joined(lines));
        edit->setFont(font);
        edit->setLineWrapMode(QTextEdit::NoWrap);
        edit->setReadOnly(!editable);
        edit->setAccessibleName(heading);
        edit->installEventFilter(this);
        // Every line equally high, whatever fonts its characters come from, so that the rows of
        // the three columns stay side by side; the labels stand at the right.
        QTextBlockFormat format;
        format.setLineHeight(QFontMetrics(font).height() + 4, QTextBlockFormat::FixedHeight);
        if (editable)
            format.setAlignment(Qt::AlignRight);
        QTextCursor all(edit->document());
        all.select(QTextCursor::Document);
        all.mergeBlockFormat(format);
        edit->setTextCursor(QTextCursor(edit->document()));
        grid->addWidget(edit, 1, at);
        return edit;
    };
    m_rowLabels = column(0, QStringLiteral("行"), rows.rowLabels, false);
    m_rowTexts = column(1, QStringLiteral("本文"), rows.rowTexts, false);
    m_labels = column(2, QStringLiteral("原本ページ"), rows.labels, true);
    m_rowLabels->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowLabels->setFocusPolicy(Qt::NoFocus);
    m_rowLabels->setMaximumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("000 - 00")) + 24);
    m_labels->setMaximumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("0000000")) + 24);
    grid->setColumnStretch(1, 1);
    // The three columns show the same rows.
    for (QTextEdit* from : {m_rowLabels, m_rowTexts, m_labels})
        connect(from->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, from](int value) {
            for (QTextEdit* to : {m_rowLabels, m_rowTexts, m_labels})
                if (to != from && to->verticalScrollBar()->value() != value)
                    to->verticalScrollBar()->setValue(value);
        });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OriginalPageEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 3);
    m_labels->setFocus();
}

bool OriginalPageEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_labels)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || key->key() == Qt::Key_Delete)
            return false; // caret keys and Delete keep working
        // Every typed character goes to the message log; only digits, Backspace and Enter get in.
        const std::filesystem::path folder = paths::stateFolder();
        if (paths::privateFolder(folder))
            for (QChar c : text)
                logMessage(folder, 0x102, c.unicode());
        return !(text.size() == 1 && originalPageKeyAccepted(text.front().unicode()));
    }
    if (event->type() == QEvent::InputMethod) {
        auto* im = static_cast<QInputMethodEvent*>(event);
        const std::u16string digits = originalPageInput(im->commitString().toStdU16String());
        if (!digits.empty())
            m_labels->insertPlainText(QString::fromStdU16String(digits));
        return true;
    }
    return false;
}

std::vector<std::u16string> OriginalPageEditor::lines() const
{
    std::vector<std::u16string> out;
    QTextBlock block = m_labels->document()->firstBlock();
    for (std::size_t i = 0; i < m_rows; ++i) {
        out.push_back(block.isValid() ? block.text().left(int(m_cellsPerLine)).toStdU16String() : std::u16string());
        if (block.isValid())
            block = block.next();
    }
    return out;
}

void OriginalPageEditor::accept()
{
    const QString question = QStringLiteral("原本ページの修正内容を保存しようとしてます。\n本当に変更内容を保存してもよろしいですか？");
    const int answer = Prompts::question(question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this,
                                         QStringLiteral("Tenkora - 原本ページ修正エディタ"));
    if (answer == QMessageBox::Yes)
        QDialog::accept();
    else if (answer == QMessageBox::No)
        reject();
}

} // namespace braille
