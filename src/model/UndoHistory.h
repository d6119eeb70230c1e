#pragma once
// The edits of one view, oldest first, and the position of the one that brought the document to
// its present state.
//
// A step is one user action: the characters it inserted or deleted, and the row and column
// where that happened. When a step is recorded the (row, column) pair is also resolved to the
// exact character it denotes (paragraph and index); undo and redo act there. A row and column
// alone cannot be replayed safely: an edit lays its paragraph out again and may move a word to
// another row, so after the edit the same pair can denote another character. Each step also
// remembers the section it was made in; replaying it makes that section current first, so a
// step never acts on the rows of another section.

#include "BrailleDocumentCursor.h"
#include "CharacterDictionary.h"

#include <algorithm>
#include <functional>
#include <list>
#include <optional>
#include <string_view>
#include <vector>

namespace braille {

// What the model has to tell the user; the window turns it into a message box.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void message(std::u16string_view text) = 0;
};

enum UndoKind : std::uint32_t { kInitialStep = 0, kInsertion = 1, kDeletion = 2 };

struct UndoStep {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
    std::uint32_t kind = kInitialStep;
    EntryList entries;
    // The caret position after the deletion moved it to another row, as the caret keys amend it;
    // kept with the step for the view. Replay itself acts at `where`.
    std::uint32_t redoRow = 0;
    std::uint32_t redoColumn = 0;
    SectionKind section = Body;
    DocumentLocation where; // the character at (row, column) when the step was recorded
    // Undone and redone together with the step before it: one user action made of several
    // edits (a TEXT/MATH conversion replaces characters one by one).
    bool joinedToPrevious = false;
    // Tells steps apart for the save point; never reused within a history.
    std::uint64_t serial = 0;
};

class UndoHistory {
public:
    explicit UndoHistory(BrailleDocumentCursor& cursor, Notifier* notifier = nullptr)
        : m_cursor(cursor), m_notifier(notifier) {}
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    void setNotifier(Notifier* notifier) { m_notifier = notifier; }

    // Only the initial step.
    void reset();
    // Drops the steps after the current one and appends this one. Recorded right before the
    // edit, or right after it when given the position of the edit's first character as it was
    // before (the location is resolved against the document as it is now, so an insertion
    // recorded afterwards must pass where its first entry now stands: see recordAt).
    void record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, EntryList entries);
    // The same with the exact location given by the caller.
    void recordAt(DocumentLocation where, std::uint32_t row, std::uint32_t column, std::uint32_t kind,
                  EntryList entries);
    void record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, const BrailleCharacter* entry);
    // The step just recorded; its position may still be corrected by the caller.
    UndoStep& lastStep();

    bool canUndo() const;
    bool canRedo() const;
    // False (with the message "初期状態です。" / "最新状態です。") when there is nothing to do,
    // or when the progress said stop.
    bool undo();
    bool redo();
    // Undoing or redoing a group of many steps (a large paste) asks this now and then whether
    // to go on; when it says stop, the steps already replayed are replayed back, so the book
    // is as it was.
    using Progress = std::function<bool(std::size_t done, std::size_t total)>;
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    std::size_t size() const { return m_steps.size(); }
    // The position of the current step, the initial step being 0.
    std::size_t currentIndex() const;

    // Steps recorded between beginGroup and endGroup are undone and redone as one. Groups do
    // not nest; an empty group records nothing.
    void beginGroup();
    void endGroup();

    // The save point: the document equals its file exactly when the current step is the one
    // that was current when it was last saved or loaded (reset sets it). Once that step is
    // dropped from the history no position reaches it again.
    void setSavePoint();
    // No position is the save point any more: the document differs from its file whatever is
    // undone (a book brought back from a recovery copy).
    void clearSavePoint() { m_savedSerial = 0; }
    bool atSavePoint() const;
    // Changes whenever the document's state in the history changes (an edit, undo or redo).
    std::uint64_t currentSerial() const { return m_steps.empty() ? 0 : m_current->serial; }
    const UndoStep* currentStep() const { return m_steps.empty() ? nullptr : &*m_current; }
    // The steps that took the document from the state of `serial` to the current one, as they
    // were applied: after edits or redo the steps done since, oldest first; after undo the steps
    // undone, newest first. Empty when more than `limit` steps lie between, or `serial` is not
    // in the history any more.
    struct Change {
        std::vector<const UndoStep*> steps;
        bool undone = false;
    };
    Change changeSince(std::uint64_t serial, std::size_t limit) const;
    // Whether the current step is the newest (just recorded, not reached by undo or redo).
    bool atNewest() const { return !m_steps.empty() && std::next(m_current) == m_steps.end(); }
    // The position of the save point as currentIndex counts, or none when it was dropped.
    std::optional<std::size_t> savePointIndex() const;

private:
    void reinsert(const UndoStep& step);
    void redelete(const UndoStep& step);
    void enterSection(const UndoStep& step);
    // A step done again (`forward`) or undone, in its own section.
    void replay(const UndoStep& step, bool forward);

    BrailleDocumentCursor& m_cursor;
    // Whether the progress says stop, now and then in a long replay.
    bool asksToStop(std::size_t done, std::size_t total) const;

    Notifier* m_notifier;
    Progress m_progress;
    std::list<UndoStep> m_steps;
    std::list<UndoStep>::iterator m_current = m_steps.end();
    std::uint64_t m_nextSerial = 1;
    std::uint64_t m_savedSerial = 0;
    bool m_grouping = false;
    bool m_groupStarted = false;
};

} // namespace braille
