#include "UndoHistory.h"

#include "CursorEditing.h"

namespace braille {

void UndoHistory::reset()
{
    m_steps.clear();
    m_steps.emplace_back();
    m_current = m_steps.begin();
}

void UndoHistory::record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, EntryList entries)
{
    if (m_steps.empty())
        reset();
    UndoStep step;
    step.row = row;
    step.column = column;
    step.kind = kind;
    step.entries = std::move(entries);
    if (m_cursor.document)
        step.section = m_cursor.document->currentSection;
    m_steps.erase(std::next(m_current), m_steps.end());
    m_current = m_steps.insert(m_steps.end(), std::move(step));
}

void UndoHistory::record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, const BrailleCharacter* entry)
{
    record(row, column, kind, EntryList{entry});
}

UndoStep& UndoHistory::lastStep()
{
    if (m_steps.empty())
        reset();
    return m_steps.back();
}

bool UndoHistory::canUndo() const { return !m_steps.empty() && m_current != m_steps.begin(); }

bool UndoHistory::canRedo() const { return !m_steps.empty() && std::next(m_current) != m_steps.end(); }

void UndoHistory::enterSection(const UndoStep& step)
{
    BrailleDocument* doc = m_cursor.document;
    if (doc && doc->currentSection != step.section) {
        doc->currentSection = step.section;
        doc->recountRows();
    }
}

void UndoHistory::replayDeletion(const UndoStep& step, std::uint32_t row, std::uint32_t column)
{
    BrailleDocumentCursor& c = m_cursor;
    c.goTo(row, column);
    if (!(c.position() == CellPosition{column, row}) && column >= c.column) {
        // The position lies inside a wide character or past a row's end: step right until the
        // cells passed cover the difference.
        const std::uint32_t d = column - c.column;
        std::uint32_t sum = 0;
        do {
            if (!c.moveRight())
                break;
            c.setDesired();
            const BrailleCharacter* e = c.entry();
            sum += e ? std::uint32_t(e->cellCount()) : 0;
        } while (sum <= d);
    }
    for (std::size_t i = 0; i < step.entries.size(); ++i)
        deleteAtCursor(c);
}

void UndoHistory::replayInsertion(const UndoStep& step)
{
    BrailleDocumentCursor& c = m_cursor;
    const BrailleCharacter* lineBreak = CharacterDictionary::instance().lineBreakEntry();
    c.goTo(step.row, step.column);
    for (const BrailleCharacter* e : step.entries) {
        if (e == lineBreak)
            insertLineBreakAtCursor(c);
        else
            insertAtCursor(c, e);
    }
    c.collapseSelection();
}

bool UndoHistory::undo()
{
    if (!canUndo()) {
        if (m_notifier)
            m_notifier->message(u"初期状態です。");
        return false;
    }
    const UndoStep& step = *m_current;
    enterSection(step);
    if (step.kind == kInsertion)
        replayDeletion(step, step.row, step.column);
    else if (step.kind == kDeletion)
        replayInsertion(step);
    --m_current;
    return true;
}

bool UndoHistory::redo()
{
    if (!canRedo()) {
        if (m_notifier)
            m_notifier->message(u"最新状態です。");
        return false;
    }
    ++m_current;
    const UndoStep& step = *m_current;
    enterSection(step);
    if (step.kind == kInsertion) {
        replayInsertion(step);
    } else if (step.kind == kDeletion) {
        const bool redoPosition = step.redoRow != 0 && step.redoColumn != 0;
        replayDeletion(step, redoPosition ? step.redoRow : step.row, redoPosition ? step.redoColumn : step.column);
    }
    return true;
}

} // namespace braille
