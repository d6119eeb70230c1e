#include "UndoHistory.h"

#include "CursorEditing.h"
#include "ParagraphEditing.h"

namespace braille {

void UndoHistory::reset()
{
    m_steps.clear();
    m_steps.emplace_back().serial = m_nextSerial++;
    m_current = m_steps.begin();
    m_savedSerial = m_current->serial;
    m_grouping = m_groupStarted = false;
}

void UndoHistory::beginGroup()
{
    m_grouping = true;
    m_groupStarted = false;
}

void UndoHistory::endGroup() { m_grouping = m_groupStarted = false; }

void UndoHistory::setSavePoint()
{
    if (m_steps.empty())
        reset();
    m_savedSerial = m_current->serial;
}

bool UndoHistory::atSavePoint() const { return !m_steps.empty() && m_current->serial == m_savedSerial; }

std::optional<std::size_t> UndoHistory::savePointIndex() const
{
    std::size_t i = 0;
    for (const UndoStep& step : m_steps) {
        if (step.serial == m_savedSerial)
            return i;
        ++i;
    }
    return std::nullopt;
}

void UndoHistory::record(std::uint32_t row, std::uint32_t column, std::uint32_t kind, EntryList entries)
{
    recordAt(m_cursor.locationAt(row, column), row, column, kind, std::move(entries));
}

void UndoHistory::recordAt(DocumentLocation where, std::uint32_t row, std::uint32_t column, std::uint32_t kind,
                           EntryList entries)
{
    if (m_steps.empty())
        reset();
    UndoStep step;
    step.row = row;
    step.column = column;
    step.kind = kind;
    step.entries = std::move(entries);
    step.where = where;
    step.serial = m_nextSerial++;
    step.joinedToPrevious = m_grouping && m_groupStarted;
    m_groupStarted = m_grouping;
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

std::size_t UndoHistory::currentIndex() const
{
    return m_steps.empty() ? 0 : std::size_t(std::distance(m_steps.begin(), std::list<UndoStep>::const_iterator(m_current)));
}

UndoHistory::Change UndoHistory::changeSince(std::uint64_t serial, std::size_t limit) const
{
    // Serials grow along the history, so the steps between two states are found from the
    // current step without counting the whole list.
    Change change;
    if (m_steps.empty() || serial == m_current->serial)
        return change;
    if (serial < m_current->serial) {
        auto it = std::list<UndoStep>::const_iterator(m_current);
        while (it->serial > serial) {
            if (change.steps.size() == limit)
                return {};
            change.steps.push_back(&*it);
            if (it == m_steps.begin())
                return {};
            --it;
        }
        if (it->serial != serial)
            return {};
        std::reverse(change.steps.begin(), change.steps.end());
        return change;
    }
    change.undone = true;
    for (auto it = std::next(std::list<UndoStep>::const_iterator(m_current)); it != m_steps.end() && it->serial <= serial; ++it) {
        if (change.steps.size() == limit)
            return {};
        change.steps.push_back(&*it);
        if (it->serial == serial) {
            std::reverse(change.steps.begin(), change.steps.end()); // undone newest first
            return change;
        }
    }
    return {};
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

void UndoHistory::redelete(const UndoStep& step)
{
    BrailleDocument* doc = m_cursor.document;
    auto paragraph = doc->section().placeOfNumber(step.where.paragraph).paragraph;
    // Deleting a line break joins the next paragraph, so the following characters stay at the
    // same index.
    for (std::size_t i = 0; i < step.entries.size(); ++i)
        deleteCharacter(*doc, paragraph, step.where.character);
    doc->modified = true;
    m_cursor.goToLocation(step.where);
    m_cursor.collapseSelection();
}

void UndoHistory::reinsert(const UndoStep& step)
{
    BrailleDocument* doc = m_cursor.document;
    const BrailleCharacter* lineBreak = CharacterDictionary::instance().lineBreakEntry();
    DocumentLocation at = step.where;
    auto paragraph = doc->section().placeOfNumber(at.paragraph).paragraph;
    for (const BrailleCharacter* e : step.entries) {
        if (e == lineBreak) {
            splitParagraph(*doc, paragraph, at.character);
            ++paragraph;
            ++at.paragraph;
            at.character = 0;
        } else {
            insertCharacter(*doc, paragraph, at.character, e);
            ++at.character;
        }
    }
    doc->modified = true;
    m_cursor.goToLocation(at);
    m_cursor.collapseSelection();
}

bool UndoHistory::undo()
{
    if (!canUndo()) {
        if (m_notifier)
            m_notifier->message(u"初期状態です。");
        return false;
    }
    // How many steps the group holds, so that a long one can tell its progress.
    std::size_t total = 1;
    for (auto it = m_current; it->joinedToPrevious && it != std::next(m_steps.begin()); --it)
        ++total;
    bool joined = true;
    std::size_t done = 0;
    while (joined && canUndo()) {
        if (asksToStop(done, total)) {
            // Stopped: what was undone is done again.
            while (done-- > 0) {
                ++m_current;
                replay(*m_current, true);
            }
            return false;
        }
        const UndoStep& step = *m_current;
        replay(step, false);
        joined = step.joinedToPrevious;
        --m_current;
        ++done;
    }
    return true;
}

bool UndoHistory::asksToStop(std::size_t done, std::size_t total) const
{
    constexpr std::size_t kAskAfterSteps = 100'000;
    constexpr std::size_t kAskEverySteps = 4096;
    return m_progress && total > kAskAfterSteps && done > 0 && done % kAskEverySteps == 0 &&
           !m_progress(done, total);
}

void UndoHistory::replay(const UndoStep& step, bool forward)
{
    enterSection(step);
    if (step.kind != kInsertion && step.kind != kDeletion)
        return;
    // Done again, a step puts back what it inserted; undone, what it deleted.
    if ((step.kind == kInsertion) == forward)
        reinsert(step);
    else
        redelete(step);
}

bool UndoHistory::redo()
{
    if (!canRedo()) {
        if (m_notifier)
            m_notifier->message(u"最新状態です。");
        return false;
    }
    std::size_t total = 1;
    for (auto it = std::next(m_current); std::next(it) != m_steps.end() && std::next(it)->joinedToPrevious; ++it)
        ++total;
    std::size_t done = 0;
    do {
        if (asksToStop(done, total)) {
            // Stopped: what was redone is undone again.
            while (done-- > 0) {
                replay(*m_current, false);
                --m_current;
            }
            return false;
        }
        ++m_current;
        replay(*m_current, true);
        ++done;
    } while (canRedo() && std::next(m_current)->joinedToPrevious);
    return true;
}

} // namespace braille
