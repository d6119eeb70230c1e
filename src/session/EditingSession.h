#pragma once
// One editing session: everything a transcriber does to a document with keys and commands,
// without a window.
//
// The view owns a session and hands it its events: key presses and releases, typed characters,
// input-method results, timer ticks, the keys of the braille display, and commands. The session
// holds the caret, the undo history, the three input systems and the switch between the modes
// TEXT, MATH and BRAILLE, collects six-key chords, follows the indicators typed on the braille
// display, and runs the editing commands (clipboard, conversion, undo, the structure keys F5 to
// F9, sections, symbols). What it needs from the window (timers, status texts, the BRAILLE
// button, message boxes, the clipboard, scrolling, the companion) it asks through SessionHost,
// SessionClipboard and Companion.

#include "CandidateList.h"
#include "ChordTimer.h"
#include "ComposerInputMethod.h"
#include "DisplayKeyboard.h"
#include "InputModeSwitch.h"
#include "SessionHost.h"
#include "UndoHistory.h"

#include <memory>
#include <string_view>

namespace braille {

class EditingSession final : private Notifier {
public:
    struct Services {
        SessionHost& host;
        SessionClipboard& clipboard;
        Companion& companion;
        // TEXT mode's input method: the system's, or Tenkora's own composer (then typed
        // characters are composed by the session).
        InputMethod& inputMethod;
        CandidateList& mathList;
        CandidateList& brailleList;
    };

    explicit EditingSession(Services services);
    ~EditingSession() override;
    EditingSession(const EditingSession&) = delete;
    EditingSession& operator=(const EditingSession&) = delete;

    // Shows a newly loaded or created document: the caret at its start, a fresh undo history.
    void setDocument(BrailleDocument* document);
    BrailleDocument* document() const { return m_document; }
    // A document is there, complete, and the caret stands on it.
    bool viewReady() const;

    // Events from the keyboard. `flags` carry vk::RepeatFlag for auto-repeat.
    void keyDown(int key, int repeat = 1, std::uint32_t flags = 0);
    void keyUp(int key, int repeat = 1, std::uint32_t flags = 0);
    void character(char16_t c);
    // Text the input method committed (one result string).
    void inputMethodResult(std::u16string_view text);
    void timer(int id);
    // The braille display's own keys: a key (routing keys 3201..3247 among them) and a cell.
    void displayKeyDown(int key);
    void displayCharacter(char16_t cell);

    // A command by id; false for an id the session does not know.
    bool command(int id);
    // The accelerator keys (F2, Ctrl+C, ...): runs the command and returns true, or false for a
    // key that is no accelerator.
    bool acceleratorKey(int key);

    // The operations the commands are made of, for the window and the find dialog.
    void insertEntries(const EntryList& entries);
    EntryList selectedEntries() const;
    std::u16string serializeSelection() const;

    // State, for the window and for tests.
    BrailleDocumentCursor& cursor() { return m_cursor; }
    const BrailleDocumentCursor& cursor() const { return m_cursor; }
    UndoHistory& undoHistory() { return m_undo; }
    const UndoHistory& undoHistory() const { return m_undo; }
    const InputModeSwitch& modes() const { return *m_modes; }
    const DisplayKeyboard& displayKeyboard() const { return m_display; }
    int chordMask() const { return m_chordMask; }
    bool shiftDown() const { return m_shift; }
    bool controlDown() const { return m_control; }
    // The unfinished letters of Tenkora's own kana input, or the keys pending in MATH/BRAILLE.
    std::u16string pendingText() const;
    EntryList& searchPattern() { return m_searchPattern; }

private:
    void message(std::u16string_view text) override;
    void act(int result);
    void updateStatus();
    // Pane 6 and the menu follow the edited section.
    void announceSection();
    bool commandNeedsDocument(int id) const;

    // Modes.
    void toggleTextMath();
    void toggleBraille();
    void ensureMath();

    // Converts the cells typed on the display that are still waiting, in `set`.
    void flushDisplayCells(SetNumber set);

    // Chords.
    void commitChord();
    static int dotOfKey(int key);

    // Commands.
    void copy();
    void cut();
    void paste();
    void deleteCommand();
    void convertSelection(SetNumber target);
    void undo();
    void redo();
    void fraction();
    void root();
    void brackets();
    void signCommand(char16_t print, char16_t cell);
    void switchSection(SectionKind kind);
    void commandEpilogue();

    Services m_services;
    ComposerInputMethod* m_composer; // the input method when it is Tenkora's own
    BrailleDocument* m_document = nullptr;
    BrailleDocumentCursor m_cursor;
    UndoHistory m_undo;
    ScrollState m_scroll;
    NoChordTimer m_noChordTimer; // the session collects chords itself
    input_system_indirect_imm m_text;
    input_system_dictionary m_math;
    input_system_braille m_braille;
    std::unique_ptr<InputModeSwitch> m_modes;
    DisplayKeyboard m_display;
    int m_chordMask = 0;
    bool m_chordTimerRunning = false;
    bool m_displayTimerRunning = false;
    bool m_shift = false;
    bool m_control = false;
    EntryList m_searchPattern;
};

} // namespace braille
