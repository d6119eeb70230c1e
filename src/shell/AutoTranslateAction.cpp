#include "AutoTranslateAction.h"

#include "AutoTranslatePaste.h"
#include "CTenkoraView.h"
#include "SessionHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>

namespace braille {

namespace {

QString qt(const std::u16string& s) { return QString::fromStdU16String(s); }

// "今日(2)、何" : the words with their counts, the most frequent first, a few at most.
QString wordList(const std::vector<autotranslate::WordCount>& words)
{
    QStringList parts;
    for (std::size_t i = 0; i < words.size() && i < 8; ++i)
        parts << qt(words[i].word) + (words[i].count > 1 ? QStringLiteral("(%1)").arg(words[i].count) : QString());
    if (words.size() > 8)
        parts << QStringLiteral("ほか %1 語").arg(words.size() - 8);
    return parts.join(QStringLiteral("、"));
}

} // namespace

AutoTranslateAction::AutoTranslateAction()
    : tell([](const QString& text) { QMessageBox::warning(nullptr, QStringLiteral("Tenkora"), text); })
{
}

AutoTranslateAction::~AutoTranslateAction() = default;

void AutoTranslateAction::run(CTenkoraView& view)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    if (text.isEmpty()) {
        emit view.statusTextChanged(kMessagePane, QStringLiteral("クリップボードに墨字のテキストがありません。"));
        return;
    }
    // A dictionary that failed to open is looked for again next time: it may have been installed.
    if (!m_translator) {
        autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
        m_translator = std::move(opened.translator);
        m_openError = opened.error;
    }
    QString notes;
    if (m_translator) {
        std::vector<autotranslate::UserReadingError> errors;
        const std::string path = autotranslate::UserReadings::defaultPath();
        m_translator->setUserReadings(autotranslate::UserReadings::load(path, errors));
        if (!errors.empty()) {
            QStringList lines;
            for (const autotranslate::UserReadingError& e : errors)
                lines << QString::number(e.line);
            notes = QStringLiteral(" %1 の %2 行目を読み飛ばしました。")
                        .arg(QString::fromStdString(path), lines.join(QStringLiteral("、")));
        }
    }
    const AutoTranslatePasteResult result = pasteTranslated(view.session(), m_translator.get(), text.toStdU16String(),
                                                            m_openError);
    if (!result.error.empty()) {
        tell(QStringLiteral("墨字を点訳できません: %1").arg(QString::fromStdString(result.error)));
        return;
    }
    QString message = QStringLiteral("墨字を点訳して貼り付けました。");
    if (!result.guessed.empty())
        message += QStringLiteral(" 読みを推測した語: ") + wordList(result.guessed) + QStringLiteral("。");
    if (!result.unknown.empty())
        message += QStringLiteral(" 辞書にない語: ") + wordList(result.unknown) + QStringLiteral("。");
    emit view.statusTextChanged(kMessagePane, message + notes);
    emit view.stateChanged();
}

} // namespace braille
