#include "AutoTranslateAction.h"

#include "QtText.h"

#include "Prompts.h"
#include "AutoTranslatePaste.h"
#include "EditorView.h"
#include "SessionHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>

namespace braille {

namespace {

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

struct AutoTranslateAction::ReadingsFile {
    std::string path;
    autotranslate::FileStamp stamp;
    QString notes; // said after every paste
};

AutoTranslateAction::AutoTranslateAction() = default;

AutoTranslateAction::~AutoTranslateAction() = default;

void AutoTranslateAction::run(EditorView& view)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    if (text.isEmpty()) {
        emit view.statusTextChanged(kMessagePane, QStringLiteral("クリップボードに墨字のテキストがありません。"));
        return;
    }
    translateAndType(view, text, true);
}

void AutoTranslateAction::typePrint(EditorView& view, const QString& text) { translateAndType(view, text, false); }

void AutoTranslateAction::translateAndType(EditorView& view, const QString& text, bool fromClipboard)
{
    // A dictionary that failed to open is looked for again next time: it may have been installed.
    if (!m_translator) {
        autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
        m_translator = std::move(opened.translator);
        m_openError = opened.error;
    }
    if (m_translator)
        refreshUserReadings();
    AutoTranslatePasteResult result = pasteTranslated(view.session(), m_translator.get(), text.toStdU16String(),
                                                            m_openError);
    if (!result.error.empty()) {
        const QString why = QString::fromStdString(result.error);
        if (fromClipboard)
            Prompts::warn(QStringLiteral("墨字を点訳できません: %1").arg(why));
        else // typing goes on: the reason goes to the message pane
            emit view.statusTextChanged(kMessagePane, QStringLiteral("漢字を点訳できないため入力しませんでした: %1").arg(why));
        return;
    }
    // The session's count of characters left out is said here again: this message replaces it.
    QString message = !fromClipboard ? (result.typed ? QStringLiteral("漢字を点訳して入力しました。")
                                                     : QStringLiteral("漢字を点訳しましたが、入力できる点字はありませんでした。"))
                      : result.typed ? QStringLiteral("墨字を点訳して貼り付けました。")
                                     : QStringLiteral("墨字を点訳しましたが、貼り付けられる点字はありませんでした。");
    if (result.leftOut)
        message += QStringLiteral(" %1 文字は点字の表にないため入りませんでした。").arg(result.leftOut);
    if (!result.guessed.empty())
        message += QStringLiteral(" 読みを推測した語: ") + wordList(result.guessed) + QStringLiteral("。");
    if (!result.unknown.empty())
        message += QStringLiteral(" 辞書にない語: ") + wordList(result.unknown) + QStringLiteral("。");
    if (!result.review.empty()) {
        message += QStringLiteral(" 確認リストに %1 語を入れました。").arg(result.review.size());
        if (m_reviewSink)
            m_reviewSink(std::move(result.review));
    }
    emit view.statusTextChanged(kMessagePane, message + (m_readings ? m_readings->notes : QString()));
    emit view.stateChanged();
}

void AutoTranslateAction::refreshUserReadings()
{
    // Read only when the file changed since the last reading: a large dictionary would
    // otherwise be parsed again at every paste.
    const std::string path = autotranslate::UserReadings::defaultPath();
    const autotranslate::FileStamp stamp = autotranslate::UserReadings::stampOf(path);
    if (m_readings && path == m_readings->path && stamp == m_readings->stamp)
        return;
    std::vector<autotranslate::UserReadingError> errors;
    m_translator->setUserReadings(autotranslate::UserReadings::load(path, errors));
    m_readings = std::make_unique<ReadingsFile>(ReadingsFile{path, stamp, {}});
    if (!errors.empty()) {
        QStringList lines;
        for (const autotranslate::UserReadingError& e : errors)
            lines << QString::number(e.line);
        m_readings->notes = QStringLiteral(" %1 の %2 行目を読み飛ばしました。")
                              .arg(QString::fromStdString(path), lines.join(QStringLiteral("、")));
    }
}

} // namespace braille
