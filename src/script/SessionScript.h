#pragma once
// Scripts of keys, characters and commands run through an editing session, and the window they
// need played without a window: timers on a clock that only the script moves, status texts and
// messages kept, the clipboard in memory. The command-line tool and the session tests use them.
//
// A script is text and {...} tokens; plain characters are typed as the window delivers them (in
// TEXT mode letters go through the kana input, other non-ASCII characters are committed as
// input-method results a syllable at a time), tokens name keys ({Enter}, {S-Right}, {C-z}),
// input-method results ({ime:TEXT}), saving ({C-s}), chords ({chord:FD}), time ({wait:100}), the braille
// display's cells, routing keys and driver key codes ({disp:A}, {route:5}, {dispkey:530}) and commands ({cmd:32932}).

#include "ComposerInputMethod.h"
#include "EditingSession.h"
#include "FindReplaceForm.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace braille {

class ScriptHost final : public SessionHost {
public:
    void startTimer(int id, int milliseconds) override { m_deadlines[id] = m_now + milliseconds; }
    void stopTimer(int id) override { m_deadlines.erase(id); }
    void setStatusText(int pane, std::u16string_view text) override { m_panes[pane] = std::u16string(text); }
    void setBrailleButton(bool pressed) override { m_brailleButton = pressed; }
    void message(std::u16string_view text) override { m_messages.emplace_back(text); }
    void caretIntoView() override {}
    void repaint() override { ++m_repaints; }
    void sectionChanged(SectionKind kind) override { m_section = kind; }

    // What {C-s} does: writes the document where the script's caller says; false with the
    // reason when there is no such place or the writing failed.
    void setSaver(std::function<bool(std::string& error)> saver) { m_saver = std::move(saver); }
    bool save(std::string& error);
    int repaints() const { return m_repaints; }
    // The find dialog, once a script opened it; it stays open for the scripts that follow.
    std::optional<FindReplaceForm>& findDialog() { return m_findDialog; }

    // Moves the clock on, firing the timers that fall due, in order.
    void wait(long milliseconds, EditingSession& session);
    bool timerRunning(int id) const { return m_deadlines.count(id) != 0; }

    std::u16string pane(int n) const;
    bool brailleButton() const { return m_brailleButton; }
    SectionKind section() const { return m_section; }
    const std::vector<std::u16string>& messages() const { return m_messages; }

private:
    long m_now = 0;
    std::map<int, long> m_deadlines;
    std::map<int, std::u16string> m_panes;
    std::vector<std::u16string> m_messages;
    bool m_brailleButton = false;
    SectionKind m_section = Body;
    int m_repaints = 0;
    std::optional<FindReplaceForm> m_findDialog;
    std::function<bool(std::string& error)> m_saver;
};

class MemoryClipboard final : public SessionClipboard {
public:
    bool put(const std::vector<std::uint8_t>& bytes) override;
    std::optional<std::vector<std::uint8_t>> get() override { return m_block; }
    void set(std::optional<std::vector<std::uint8_t>> block) { m_block = std::move(block); }
    void putText(std::u16string_view text) override { m_text = std::u16string(text); }
    std::optional<std::u16string> text() override { return m_text; }
    void setText(std::optional<std::u16string> text) { m_text = std::move(text); }

private:
    std::optional<std::vector<std::uint8_t>> m_block;
    std::optional<std::u16string> m_text;
};

// A session with what a window would give it, played: a script host, a clipboard in memory, no
// companion, Tenkora's own kana input and candidate lists nobody sees.
struct ScriptedSession {
    ScriptHost host;
    MemoryClipboard clipboard;
    NoCompanion companion;
    ComposerInputMethod inputMethod;
    NoCandidateList mathList, brailleList;
    EditingSession session;

    explicit ScriptedSession(PageLayout layout = {})
        : session({host, clipboard, companion, inputMethod, mathList, brailleList, layout})
    {
    }
};

// Runs a script; on a token it cannot understand it stops and says why in `error`.
bool runSessionScript(EditingSession& session, ScriptHost& host, std::u16string_view script, std::string& error);

} // namespace braille
