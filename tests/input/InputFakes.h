#pragma once
// Fakes of what the input systems ask of the window: they remember what they were told.

#include "CandidateList.h"
#include "ChordTimer.h"
#include "InputMethod.h"
#include "UndoHistory.h"

#include <string>
#include <vector>

namespace braille::test {

class FakeCandidateList final : public CandidateList {
public:
    void fill(const std::vector<std::u16string>& lines) override { this->lines = lines; }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    void select(std::size_t line) override { selected = line; }
    void place(int px, int py) override { x = px, y = py; }

    std::vector<std::u16string> lines;
    bool visible = false;
    std::size_t selected = 0;
    int x = -1, y = -1;
};

class FakeInputMethod final : public InputMethod {
public:
    bool isOpen() const override { return open; }
    void setOpen(bool o) override { open = o; }
    Conversion conversion() const override { return mode; }
    void setConversion(Conversion c) override { mode = c; }
    std::u16string resultString() const override { return result; }
    void setCompositionPosition(int px, int py) override { x = px, y = py; }

    bool open = false;
    Conversion mode = Conversion::Off;
    std::u16string result;
    int x = -1, y = -1;
};

class FakeChordTimer final : public ChordTimer {
public:
    void start(int ms) override { running = true, milliseconds = ms; }
    void stop() override { running = false; }
    bool running = false;
    int milliseconds = 0;
};

class FakeNotifier final : public Notifier {
public:
    void message(std::u16string_view text) override { messages.emplace_back(text); }
    std::vector<std::u16string> messages;
};

} // namespace braille::test
