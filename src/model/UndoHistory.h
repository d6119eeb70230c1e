#pragma once
// The edits of one view, oldest first, and the position of the one that brought the document to
// its present state.
//
// A step is one user action: the characters it inserted or deleted, and the row and column
// where that happened. Undo and redo replay steps through the cursor-level edits, so they put
// characters back exactly as typing or deleting would. Each step also remembers the section it
// was made in; replaying it makes that section current first, so a step never acts on the rows
// of another section.

#include "BrailleDocumentCursor.h"
#include "CharacterDictionary.h"

#include <list>
#include <string_view>

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
    std::uint32_t redoRow = 0; // where redo repeats a deletion; 0, 0 when it uses row and column
    std::uint32_t redoColumn = 0;
    SectionKind section = Body;
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
    // Drops the steps after the current one and appends this one.
    void record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, EntryList entries);
    void record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, const BrailleCharacter* entry);
    // The step just recorded; its position may still be corrected by the caller.
    UndoStep& lastStep();

    bool canUndo() const;
    bool canRedo() const;
    // False (with the message "初期状態です。" / "最新状態です。") when there is nothing to do.
    bool undo();
    bool redo();

    std::size_t size() const { return m_steps.size(); }

private:
    void replayInsertion(const UndoStep& step);
    void replayDeletion(const UndoStep& step, std::uint32_t row, std::uint32_t column);
    void enterSection(const UndoStep& step);

    BrailleDocumentCursor& m_cursor;
    Notifier* m_notifier;
    std::list<UndoStep> m_steps;
    std::list<UndoStep>::iterator m_current = m_steps.end();
};

} // namespace braille
