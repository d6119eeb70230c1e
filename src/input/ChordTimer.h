#pragma once
// A one-shot timer for six-key chords: the keys of a chord are pressed within a short window,
// and the chord is complete when the window has passed. The window layer implements it with a
// window timer whose tick it passes to InputSystem::timerTick; tests use a fake.

namespace braille {

class ChordTimer {
public:
    virtual ~ChordTimer() = default;
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
};

class NoChordTimer final : public ChordTimer {
public:
    void start(int) override {}
    void stop() override {}
};

} // namespace braille
