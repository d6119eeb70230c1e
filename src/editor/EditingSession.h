#pragma once
// One editing session: everything a transcriber does to a document with keys, the mouse and
// commands, without a window.
//
// The view owns a session and hands it its events: key presses and releases with the modifiers
// held, typed characters, input-method results and pre-edit text, timer ticks, clicks and drags
// as rows and cells, the keys of the braille display, and commands. The session holds the caret,
// the scroll position, the undo history with its save point, the three input systems and the
// switch between the modes TEXT, MATH and BRAILLE, collects six-key chords, follows the
// indicators typed on the braille display, and runs the editing commands (clipboard, conversion,
// undo, the structure keys F5 to F9, sections, symbols). What it needs from the window (timers,
// status texts, the BRAILLE button, message boxes, the clipboard, repainting, the companion) it
// asks through SessionHost, SessionClipboard and Companion. The view only translates events and
// paints what the session exposes.

#include "CandidateList.h"
#include "ChordTimer.h"
#include "ComposerInputMethod.h"
#include "DisplayKeyboard.h"
#include "InputModeSwitch.h"
#include "PageLayout.h"
#include "PagePlace.h"
#include "SessionHost.h"
#include "UndoHistory.h"

#include <memory>
#include <string_view>

namespace braille {

// What a button of the find dialog asks the session to do.
struct FindRequest {
    enum Kind { FindNext, Replace, ReplaceAll };
    Kind kind = FindNext;
    bool down = true;
    EntryList find;
    EntryList replace;
};

// The modifier keys held with a key, as the window reports them.
enum KeyModifier : unsigned {
    kNoModifier = 0,
    kShiftModifier = 1,
    kControlModifier = 2,
    kAltModifier = 4,
};

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
        // Lines per page and cells per line the session starts with (the settings).
        PageLayout layout{};
    };

    explicit EditingSession(Services services);
    ~EditingSession() override;
    EditingSession(const EditingSession&) = delete;
    EditingSession& operator=(const EditingSession&) = delete;

    // Shows a newly loaded or created document: laid out to the session's line width, the caret
    // at its start, a fresh undo history whose save point is the document as it is, and nothing
    // left over from the previous document (pending keys, unfinished letters, the search pattern).
    void setDocument(BrailleDocument* document);
    BrailleDocument* document() const { return m_document; }
    const BrailleDocument* constDocument() const { return m_document; }
    // A document is there, complete, and the caret stands on it.
    bool viewReady() const;

    // Events from the keyboard. `modifiers` are the KeyModifier bits held with the key; `flags`
    // carry vk::RepeatFlag for auto-repeat. keyDown returns true when the key ran a command
    // (an accelerator such as Ctrl+C, F2 or Alt+Backspace): the character it may carry must then
    // not be typed.
    bool keyDown(int key, unsigned modifiers = kNoModifier, int repeat = 1, std::uint32_t flags = 0);
    void keyUp(int key, unsigned modifiers = kNoModifier, int repeat = 1, std::uint32_t flags = 0);
    void character(char16_t c);
    // The window lost the keyboard focus: whatever was held (modifiers, a chord) is let go.
    void focusLost();
    // Text the input method committed (one result string), and the text it is composing.
    void inputMethodResult(std::u16string_view text);
    void inputMethodPreedit(std::u16string_view text);
    void timer(int id);
    // The braille display's own keys: a key (routing keys 3201..3300 among them) and a cell.
    void displayKeyDown(int key);
    void displayCharacter(char16_t cell);
    // A key code from the display's driver: cells and routing keys as above, its function keys
    // pressed and let go as the ordinary keys they stand for. Returns whether the code meant
    // anything.
    bool displayDriverKey(int code);

    // The mouse. `cellX` is the horizontal position in cells from the left of the text (0.5 is
    // the middle of the first cell): the caret goes before the character under it, or after it
    // when the point is on the character's right half. With `extend` the selection is extended
    // to there (Shift+click, drag); otherwise it collapses there (click). Pending input is
    // settled first.
    void placeCaretAt(std::uint32_t row, double cellX, bool extend);

    // Scrolling. The view tells how many rows it shows; the session keeps the top row and keeps
    // the caret in view after every caret move.
    void setVisibleRows(std::uint32_t rows);
    std::uint32_t visibleRows() const { return m_visibleRows; }
    std::uint32_t scrollPosition() const { return m_scroll.position; }
    // The largest top row: the number of rows of the current section.
    std::uint32_t scrollMaximum() const { return m_scroll.maximum; }
    // The wheel and the scroll bar: the caret stays where it is.
    void scrollTo(std::uint32_t row);
    void scrollBy(int rows);

    // The page layout: the document is laid out again with the new line width.
    void setPageLayout(PageLayout layout);
    const PageLayout& pageLayout() const { return m_layout; }

    // The document was written to its file (or read from it): this undo position is its save
    // point, and the document is no longer modified.
    void markSaved();
    // The document differs from its file at every undo position (restored from a recovery copy).
    void markUnsaved();

    // A command by id; false for an id the session does not know.
    bool command(int id);

    // Find and replace. The searches stay in the current section and never wrap; a match is
    // selected with the caret at its end. findPattern answers 1 found, 0 not found or empty,
    // -1 refused (a pattern holding a line break), and writes the status text.
    bool searchDown(const EntryList& pattern);
    bool searchUp(const EntryList& pattern);
    int findPattern(const EntryList& pattern, bool down);
    void replaceSelection(const EntryList& replacement);
    // The find dialog's buttons: find next, replace (after a successful find) and replace all.
    void findReplace(const FindRequest& request);

    // The original-page editor may open: on the body of a book with nothing unsaved (its labels
    // are written to the file). Otherwise the transcriber is told why, and false.
    bool mayEditOriginalPages();
    // Labels for the rows of the body, in order, when there is no file to write them to.
    void applyOriginalPages(const std::vector<std::u16string>& labels);

    // Selects the characters from `begin` to `end` of a section, going to that section first,
    // with the caret at the end: how the review list shows an item.
    void selectStretch(SectionKind section, DocumentLocation begin, DocumentLocation end);

    // 編集 → ページと行へ移動: the caret to the start of the row at a braille page and line of the
    // current section, as the row labels count them. Empty when it went there; otherwise why not,
    // and nothing moved.
    std::u16string goToPageLine(PageLine place);

    // A line of the candidate list clicked (selected) or double-clicked (committed).
    void chooseCandidate(std::size_t line, bool commit);

    // The operations the commands are made of, for the window and the find dialog.
    void insertEntries(const EntryList& entries);
    EntryList selectedEntries() const;
    std::u16string serializeSelection() const;
    // Plain text from another program, typed in as the current mode types it (TEXT as an
    // input-method result, MATH as keys), line feeds as Enter, in one undo step. Characters the
    // tables do not know are left out and counted in the message pane.
    void pasteText(std::u16string_view text);
    // What a paste of plain text did: whether anything went into the document, and how many
    // characters no table knows were left out.
    struct TextPaste {
        bool typed = false;
        std::size_t leftOut = 0;
        bool cancelled = false; // stopped by the user, and taken back
    };
    // The same in TEXT whatever the current mode: kana typed with the braille rules.
    TextPaste pasteTextAsText(std::u16string_view text);
    // The print text of entries for other programs: line breaks as line feeds, blanks as spaces,
    // and the braille signs that have no print counterpart left out.
    static std::u16string printText(const EntryList& entries);

    // State, for the window and for tests.
    BrailleDocumentCursor& cursor() { return m_cursor; }
    const BrailleDocumentCursor& cursor() const { return m_cursor; }
    UndoHistory& undoHistory() { return m_undo; }
    const UndoHistory& undoHistory() const { return m_undo; }
    const InputModeSwitch& modes() const { return *m_modes; }
    const DisplayKeyboard& displayKeyboard() const { return m_display; }
    int chordMask() const { return m_chordMask; }
    bool shiftDown() const { return m_modifiers & kShiftModifier; }
    bool controlDown() const { return m_modifiers & kControlModifier; }
    // What is typed but not yet in the document, drawn at the caret: the unfinished letters of
    // Tenkora's own kana input or the system input method's pre-edit text in TEXT, the keys or
    // display cells pending in MATH and BRAILLE.
    std::u16string pendingText() const;
    // The cell (row, column) where the pending text is drawn: the caret's.
    CellPosition pendingPosition() const { return m_cursor.position(); }
    EntryList& searchPattern() { return m_searchPattern; }

private:
    void message(std::u16string_view text) override;
    // Acts on an input system's result word: keeps the caret in view when it moved and asks
    // for a repaint when anything was handled.
    void act(int result);
    void caretIntoView();
    void updateScrollRange();
    // Asks for a repaint when the pending text changed since it was last drawn.
    void notePendingChange();
    void updateStatus();
    // Pane 6 and the menu follow the edited section.
    void announceSection();
    MovementInput& activeSystem() const;
    // Tells the active input system whether Shift is held, as a key press of its own would.
    void syncShift(unsigned modifiers);
    // Commits the unfinished letters, converts display cells still waiting and drops keys
    // pending in MATH or BRAILLE, before the caret is moved by other means than the keys.
    void settlePending();
    // Forgets everything typed but not committed.
    void dropPending();

    // Modes.
    void toggleTextMath();
    void toggleBraille();
    void ensureMath();

    // Converts the cells typed on the display that are still waiting, in `set`.
    void flushDisplayCells(SetNumber set);

    // Chords.
    void commitChord();
    void stopChord();

    // Commands.
    void copy();
    void cut();
    void paste();
    void deleteCommand();
    void convertSelection(SetNumber target);
    void undo();
    void redo();
    void replayHistory(bool forward);
    void fraction();
    void root();
    void brackets();
    void signCommand(char16_t print, char16_t cell);
    void switchSection(SectionKind kind);
    void commandEpilogue();
    TextPaste pasteTextIn(std::u16string_view text, bool math);
    // F3 and Shift+F3: the selection, or else the current pattern.
    void searchCommand(bool down);
    void selectRun(DocumentLocation start, std::size_t length);
    static std::u16string searchStatus(const EntryList& pattern, bool down, bool found);

    Services m_services;
    ComposerInputMethod* m_composer; // the input method when it is Tenkora's own
    BrailleDocument* m_document = nullptr;
    BrailleDocumentCursor m_cursor;
    UndoHistory m_undo;
    ScrollState m_scroll;
    std::uint32_t m_visibleRows = 22;
    PageLayout m_layout;
    NoChordTimer m_noChordTimer; // the session collects chords itself
    ImeInput m_text;
    DictionaryInput m_math;
    BrailleKeyInput m_braille;
    std::unique_ptr<InputModeSwitch> m_modes;
    DisplayKeyboard m_display;
    int m_chordMask = 0;
    bool m_chordTimerRunning = false;
    bool m_displayTimerRunning = false;
    unsigned m_modifiers = kNoModifier;
    std::u16string m_preedit;
    std::u16string m_drawnPending;
    EntryList m_searchPattern;
    bool m_lastFindSucceeded = false;
};

} // namespace braille
