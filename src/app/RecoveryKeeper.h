#pragma once
// Keeps a recovery copy of the book while it has unsaved changes: at most every
// Settings/RecoveryInterval seconds (profile, default 30, 0 for never) and only when something
// changed since the last copy. The book is copied on the user-interface thread (a few
// milliseconds) and written on a worker thread, so typing never waits for the disk. At start-up
// the copies of processes that are gone are offered, one by one.

#include "Recovery.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <future>

namespace braille {

class MainWindow;

class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    explicit RecoveryKeeper(MainWindow& frame);
    ~RecoveryKeeper() override;

    // Writes a copy now when the book changed since the last one (and waits for it).
    void writeNow();
    // The book reached its file or was replaced: its copy goes.
    void removeCopy();
    const RecoveryStore& store() const { return m_store; }
    int interval() const { return m_interval; }

    // The answers to the question about a copy, in the order of its buttons.
    enum Answer { Restore, Keep, Discard };
    // Offers every copy left by a process that is gone, one question each (Prompts::choose).
    // Returns whether a copy was restored.
    static bool offerLeftovers(MainWindow& frame);

signals:
    // A copy could not be written (said once until a copy is written again; writing goes on).
    void failed(const QString& text);

private:
    void tick();
    void waitForWriter();
    // Takes the finished writer's outcome.
    void takeResult();

    MainWindow& m_frame;
    RecoveryStore m_store;
    QTimer m_timer;
    int m_interval = 30;
    std::uint64_t m_lastSerial = 0;
    const void* m_lastDocument = nullptr;
    std::future<SaveResult> m_writer;
    bool m_failureShown = false;
};

} // namespace braille
