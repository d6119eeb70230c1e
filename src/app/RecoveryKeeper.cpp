#include "RecoveryKeeper.h"

#include "BmlReader.h"
#include "MainWindow.h"
#include "Prompts.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace braille {

RecoveryKeeper::RecoveryKeeper(MainWindow& frame)
    : QObject(&frame), m_frame(frame), m_store(long(QCoreApplication::applicationPid()))
{
    QSettings profile(Settings::profileFile(), QSettings::IniFormat);
    bool ok = false;
    const int interval = profile.value(QStringLiteral("Settings/RecoveryInterval")).toString().toInt(&ok);
    m_interval = ok ? std::clamp(interval, 0, 24 * 3600) : 30;
    if (m_interval > 0) {
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start(m_interval * 1000);
    }
}

RecoveryKeeper::~RecoveryKeeper() { waitForWriter(); }

void RecoveryKeeper::waitForWriter()
{
    if (m_writer.valid())
        m_writer.wait();
}

void RecoveryKeeper::takeResult()
{
    if (!m_writer.valid() || m_writer.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    const SaveResult result = m_writer.get();
    if (result) {
        m_failureShown = false;
        return;
    }
    // Tried again at the next tick; the user hears of it once, not every half minute.
    m_lastSerial = 0;
    m_lastDocument = nullptr;
    if (!m_failureShown) {
        m_failureShown = true;
        emit failed(QStringLiteral("復元用のコピーを保存できません: %1").arg(QString::fromStdString(result.reason)));
    }
}

void RecoveryKeeper::tick()
{
    takeResult();
    const BrailleDocument& document = m_frame.book().document();
    const std::uint64_t serial = m_frame.view().session().undoHistory().currentSerial();
    if (!document.modified || !document.complete || (serial == m_lastSerial && &document == m_lastDocument))
        return;
    // One copy at a time; a slow disk only makes the copies rarer.
    if (m_writer.valid() && m_writer.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    std::shared_ptr<BrailleDocument> snapshot = RecoveryStore::snapshot(document);
    const std::u16string original = m_frame.book().pathName().toStdU16String();
    m_lastSerial = serial;
    m_lastDocument = &document;
    RecoveryStore* store = &m_store;
    m_writer = std::async(std::launch::async, [store, snapshot, original] { return store->write(*snapshot, original); });
}

void RecoveryKeeper::writeNow()
{
    waitForWriter();
    tick();
    waitForWriter();
    takeResult();
}

void RecoveryKeeper::removeCopy()
{
    waitForWriter();
    takeResult();
    m_store.remove();
    m_lastSerial = 0;
    m_lastDocument = nullptr;
}

bool RecoveryKeeper::offerLeftovers(MainWindow& frame)
{
    for (const RecoveryCopy& copy : RecoveryStore::leftovers()) {
        const QString original = QString::fromStdU16String(copy.original);
        const QString name = original.isEmpty() ? QStringLiteral("無題") : QFileInfo(original).fileName();
        const QString text =
            QStringLiteral("前回、Tenkora が正常に終了しなかったため、保存されていない文書が残っています。\n%1 (%2)\n復元しますか?")
                .arg(name, QString::fromStdString(copy.time));
        // The buttons in the order of Answer; a box closed without a button keeps the copy.
        const int chosen = Prompts::choose(text, {QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("削除")});
        const Answer answer = chosen == Restore || chosen == Discard ? Answer(chosen) : Keep;
        if (answer == Discard) {
            RecoveryStore::discard(copy);
            continue;
        }
        if (answer != Restore)
            continue;
        const QString path = QString::fromStdU16String(copy.copy.u16string());
        std::error_code ec;
        if (!std::filesystem::is_regular_file(copy.copy, ec) || !BmlReader(copy.copy).isOpen()) {
            // Kept for another try: the user decides what becomes of it.
            Prompts::warn(QStringLiteral("復元用の文書を読めません。\n%1").arg(path));
            continue;
        }
        if (!frame.book().openRecovered(path, original))
            continue;
        // The book is safe in this process's own copy before the old one goes.
        if (RecoveryKeeper* keeper = frame.recovery()) {
            keeper->writeNow();
            if (keeper->store().exists())
                RecoveryStore::discard(copy);
        }
        return true; // one book at a time; the others wait for the next start
    }
    return false;
}

} // namespace braille
