#pragma once
// What an editing session needs from the window around it. The Qt layer implements these over
// its widgets, timers and the system clipboard; the command-line tool and the tests implement
// them with fakes.

#include "BrailleDocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace braille {

// Status bar panes the session writes.
enum StatusPane : int {
    kMessagePane = 0,
    kModePane = 1,    // "TEXT" or "MATH"
    kBraillePane = 2, // "BRAILLE" or empty
    kSectionPane = 6, // "COVER", "CONTENTS", "BODY", "COLOPHON"
    kKanaPane = 7,    // what TEXT mode's input method types: "あ", "ア" or "A"
    kPlacePane = 8,   // the caret's braille page, line and cell (the view writes it)
};

// The view's timers: the six-key chord window and the flush of cells typed on the display.
enum SessionTimer : int {
    kChordTimer = 1,
    kDisplayFlushTimer = 3,
};

class SessionHost {
public:
    virtual ~SessionHost() = default;
    // Starting a running timer restarts it.
    virtual void startTimer(int id, int milliseconds) = 0;
    virtual void stopTimer(int id) = 0;
    virtual void setStatusText(int pane, std::u16string_view text) = 0;
    // The BRAILLE toolbar button, pressed while BRAILLE is on.
    virtual void setBrailleButton(bool pressed) = 0;
    // A modal message box with the caption "Tenkora".
    virtual void message(std::u16string_view text) = 0;
    // Scroll the caret into view; the document may have changed (link mode sends it on).
    virtual void caretIntoView() = 0;
    virtual void repaint() = 0;
    // The edited section changed (the menu checks its item).
    virtual void sectionChanged(SectionKind kind) = 0;
    // Long work (a paste of a large text) asks now and then whether to go on, `done` of `total`
    // done; the window shows progress and a cancel. False stops it, and what it did is taken back.
    virtual bool workGoesOn(std::size_t done, std::size_t total) { return true; }
    // The long work that asked is over (done or stopped).
    virtual void workEnded() {}
};

// The editor's own clipboard format, as bytes.
class SessionClipboard {
public:
    virtual ~SessionClipboard() = default;
    // Empties the clipboard and, unless `bytes` is empty, puts them there. False when the
    // clipboard could not be opened.
    virtual bool put(const std::vector<std::uint8_t>& bytes) = 0;
    // The block in the editor's format; none when the clipboard is busy or holds no such block.
    virtual std::optional<std::vector<std::uint8_t>> get() = 0;
    // Plain text beside the block, for other programs, and plain text from them.
    virtual void putText(std::u16string_view) {}
    virtual std::optional<std::u16string> text() { return std::nullopt; }
};

// The companion reading application in link mode.
class Companion {
public:
    virtual ~Companion() = default;
    virtual bool isLinked() const = 0;
    // Passes a caret key (Up or Down) to the companion; true when it moved its caret.
    virtual bool sendKey(int key) = 0;
};

class NoCompanion final : public Companion {
public:
    bool isLinked() const override { return false; }
    bool sendKey(int) override { return false; }
};

} // namespace braille
