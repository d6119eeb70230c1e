#include "Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace braille {

namespace {

Prompts::Answers& answers()
{
    static Prompts::Answers set;
    return set;
}

const QString kTitle = QStringLiteral("Tenkora");

// The window a prompt belongs to: the given widget's window, else the modal dialog or the window
// in front, else the main window.
QWidget* owner(QWidget* parent)
{
    if (parent)
        return parent->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(top) && top->isVisible())
            return top;
    return nullptr;
}

// "BRF File(*.brf)" → "brf": the first extension the filter names.
QString extensionOf(const QString& filter)
{
    const int star = filter.indexOf(QStringLiteral("*."));
    if (star < 0)
        return {};
    int end = star + 2;
    while (end < filter.size() && (filter[end].isLetterOrNumber()))
        ++end;
    return filter.mid(star + 2, end - star - 2);
}

QString withExtension(const QString& name, const QString& filter)
{
    const QString extension = extensionOf(filter);
    if (name.isEmpty() || extension.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + u'.' + extension;
}

} // namespace

void Prompts::setAnswers(Answers given) { answers() = std::move(given); }

int Prompts::question(const QString& text, int buttons, QWidget* parent, const QString& title, int defaultButton)
{
    if (answers().question)
        return answers().question(text, buttons);
    return QMessageBox::question(owner(parent), title.isEmpty() ? kTitle : title, text, QMessageBox::StandardButtons(buttons),
                                 QMessageBox::StandardButton(defaultButton));
}

int Prompts::choose(const QString& text, const QStringList& choices, QWidget* parent, int escape)
{
    if (answers().choice)
        return answers().choice(text, choices);
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::NoButton, owner(parent));
    std::vector<QPushButton*> buttons;
    for (const QString& choice : choices)
        buttons.push_back(box.addButton(choice, QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(buttons.front());
    if (escape >= 0 && std::size_t(escape) < buttons.size())
        box.setEscapeButton(buttons[std::size_t(escape)]);
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return int(i);
    return -1;
}

void Prompts::tell(const QString& text, QWidget* parent)
{
    if (answers().message)
        answers().message(text);
    else
        QMessageBox::information(owner(parent), kTitle, text);
}

void Prompts::warn(const QString& text, QWidget* parent)
{
    if (answers().message)
        answers().message(text);
    else
        QMessageBox::warning(owner(parent), kTitle, text);
}

QString Prompts::openName(const QString& filter, const QString& start, QWidget* parent)
{
    if (answers().openName)
        return answers().openName(QString(), filter);
    return QFileDialog::getOpenFileName(owner(parent), QString(), start, filter);
}

QString Prompts::saveName(const QString& filter, const QString& start, QWidget* parent, const QString& title)
{
    QString chosen;
    if (answers().saveName) {
        chosen = answers().saveName(title, filter, start);
    } else {
        QFileDialog dialog(owner(parent), title, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The dialog adds the extension itself, before it asks whether to replace a file.
        dialog.setDefaultSuffix(extensionOf(filter));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().front();
    }
    const QString named = withExtension(chosen, filter);
    // A dialog that asked about the name as typed (book) has not asked about the file written
    // (book.bml): that one is never replaced without a question.
    if (named != chosen && QFileInfo::exists(named) &&
        question(QStringLiteral("%1 は既にあります。\n置き換えますか？").arg(QFileInfo(named).fileName()),
                 QMessageBox::Yes | QMessageBox::No, parent) != QMessageBox::Yes)
        return {};
    return named;
}

std::unique_ptr<QProgressDialog> Prompts::progress(const QString& label, QWidget* parent, int maximum, int showAfterMs)
{
    auto dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("キャンセル"), 0, maximum, owner(parent));
    dialog->setWindowTitle(kTitle);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(showAfterMs);
    dialog->setValue(0);
    return dialog;
}

} // namespace braille
