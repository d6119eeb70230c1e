#include "Prompts.h"

#include <QFileDialog>
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

} // namespace

void Prompts::setAnswers(Answers given) { answers() = std::move(given); }

int Prompts::question(const QString& text, int buttons, QWidget* parent, const QString& title)
{
    if (answers().question)
        return answers().question(text, buttons);
    return QMessageBox::question(parent, title.isEmpty() ? kTitle : title, text, QMessageBox::StandardButtons(buttons));
}

int Prompts::choose(const QString& text, const QStringList& choices, QWidget* parent)
{
    if (answers().choice)
        return answers().choice(text, choices);
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::NoButton, parent);
    std::vector<QPushButton*> buttons;
    for (const QString& choice : choices)
        buttons.push_back(box.addButton(choice, QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(buttons.front());
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
        QMessageBox::information(parent, kTitle, text);
}

void Prompts::warn(const QString& text, QWidget* parent)
{
    if (answers().message)
        answers().message(text);
    else
        QMessageBox::warning(parent, kTitle, text);
}

QString Prompts::openName(const QString& filter, const QString& start, QWidget* parent)
{
    if (answers().openName)
        return answers().openName(QString(), filter);
    return QFileDialog::getOpenFileName(parent, QString(), start, filter);
}

QString Prompts::saveName(const QString& filter, const QString& start, QWidget* parent)
{
    if (answers().saveName)
        return answers().saveName(QString(), filter, start);
    return QFileDialog::getSaveFileName(parent, QString(), start, filter);
}

std::unique_ptr<QProgressDialog> Prompts::progress(const QString& label, QWidget* parent, int maximum, int showAfterMs)
{
    auto dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("キャンセル"), 0, maximum,
                                                    parent ? parent->window() : nullptr);
    dialog->setWindowTitle(kTitle);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(showAfterMs);
    dialog->setValue(0);
    return dialog;
}

} // namespace braille
