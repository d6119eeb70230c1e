#pragma once
// Link mode: Tenkora as the braille side of a companion reading application. The companion
// starts the editor with its handle, sends the text to show (link text, which becomes a work file
// of this process in the user's private runtime folder and is opened), and receives the body back
// after changes; focus changes and Ctrl+Shift+Up/Down go to it; its End closes the editor without
// a question.
//
// Nothing waits for the companion: updates, keys and focus changes are sent and their answers
// taken when they come, so typing stays instant whatever the companion does. While an update is
// unanswered, newer changes wait and go as one update when the answer (or the timeout) comes.

#include "LinkChannel.h"
#include "LinkHost.h"
#include "SessionHost.h"

#include <QObject>

#include <optional>
#include <string>

namespace braille {

class LinkMode : public QObject, public Companion {
    Q_OBJECT

public:
    // Listens with the process id as handle, and, when `companion` is given, announces itself.
    // When the runtime folder cannot be used, link mode is refused: nothing listens or connects,
    // and the status bar, the debug console and stderr say why.
    LinkMode(LinkHost& host, std::uint32_t companion, QObject* parent = nullptr);
    ~LinkMode() override;

    std::uint32_t handle() const { return m_channel.handle(); }
    std::uint32_t companion() const { return m_companion; }
    LinkChannel& channel() { return m_channel; }
    // The file the companion's text is kept in while it is shown; empty before the first text.
    // It is removed when link mode ends.
    const QString& workFile() const { return m_workFile; }

    // Companion (for the session): Ctrl+Shift+Up/Down and cmd::CompanionUp/Down. A key is
    // taken at once; when the companion answers that it did not move its caret (or does not
    // answer in time), the keyboard's key then goes on in the editor as it would have without
    // the companion (it moves the choice in an open candidate list).
    bool isLinked() const override { return m_companion != 0; }
    bool sendKey(int key) override;

    // Sends the body when it changed; a companion that takes it marks the book as not modified,
    // unless the book changed again since that update was sent.
    void sendUpdate();
    // The view gained or lost the keyboard.
    void focusChanged(bool gained);
    // The user closes the editor: the companion is told (posted) and forgotten.
    void closing();
    // The window is closing because the companion ended link mode: no question, nothing sent.
    bool endedByCompanion() const { return m_endedByCompanion; }

private:
    std::uint32_t handleFrame(const link::Frame& frame);
    // Whether a frame may be handled now: not inside link mode's own work, a dialog's loop or the
    // loading of a book.
    bool readyForFrames() const;
    void loadPayload(const std::vector<std::uint8_t>& data);
    // The work file's path (the private folder is made and checked first); none, with why, when
    // the folder cannot be used.
    std::optional<QString> workPath(QString& why);
    void updateAnswered(std::optional<std::uint32_t> answer, const std::u16string& sent, std::uint64_t loads);
    void keyAnswered(int key, std::optional<std::uint32_t> answer, std::uint64_t loads);
    void log(const char* name, const link::Frame& frame);
    void status(const QString& text);
    // A problem of link mode itself: the status bar, the debug console and stderr.
    void report(const QString& text);

    LinkHost& m_host;
    LinkChannel m_channel;
    std::uint32_t m_companion = 0;
    bool m_endedByCompanion = false;
    QString m_workFile;
    std::uint64_t m_loads = 0;  // texts loaded; an answer about an older one changes nothing
    bool m_updateOut = false;   // an update is waiting for its answer
    bool m_updateWanted = false; // the body or caret changed meanwhile
    bool m_keyFromAnswer = false; // a key the companion left to the editor is being played
    int m_busy = 0;
};

} // namespace braille
