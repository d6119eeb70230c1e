#pragma once
// Link mode: Tenkora as the braille side of a companion reading application. The companion
// starts the editor with its handle, sends the text to show (link text, which becomes the work
// file TenkoraWork.bml in the temporary folder and is opened), and receives the whole body back
// after every change; focus changes and Ctrl+Shift+Up/Down go to it; its End closes the editor
// without a question.

#include "LinkChannel.h"
#include "SessionHost.h"

#include <QObject>

namespace braille {

class CMainFrame;

class LinkMode : public QObject, public Companion {
    Q_OBJECT

public:
    // Listens with the process id as handle, and, when `companion` is given, announces itself.
    LinkMode(CMainFrame& frame, std::uint32_t companion);
    ~LinkMode() override;

    std::uint32_t handle() const { return m_channel.handle(); }
    std::uint32_t companion() const { return m_companion; }
    LinkChannel& channel() { return m_channel; }

    // Companion (for the session): Ctrl+Shift+Up/Down and the commands 33369/33370.
    bool isLinked() const override { return m_companion != 0; }
    bool sendKey(int key) override;

    // Sends the body when it changed; a companion that takes it marks the book as not modified.
    void sendUpdate();
    // The view gained or lost the keyboard.
    void focusChanged(bool gained);
    // The user closes the editor: the companion is told (posted) and forgotten.
    void closing();
    // The window is closing because the companion ended link mode: no question, nothing sent.
    bool endedByCompanion() const { return m_endedByCompanion; }

private:
    std::uint32_t handleFrame(const link::Frame& frame);
    void loadPayload(const std::vector<std::uint8_t>& data);
    void log(const char* name, const link::Frame& frame);
    void status(const QString& text);

    CMainFrame& m_frame;
    LinkChannel m_channel;
    std::uint32_t m_companion = 0;
    bool m_endedByCompanion = false;
};

} // namespace braille
