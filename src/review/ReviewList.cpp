#include "ReviewList.h"

#include "CharacterDictionary.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace braille {

namespace {

// How many deletions' items are kept for their undo.
constexpr std::size_t kBuriedKept = 64;


auto key(SectionKind section, DocumentLocation at) { return std::tuple(std::uint32_t(section), at.paragraph, at.character); }

bool before(DocumentLocation a, DocumentLocation b)
{
    return std::tie(a.paragraph, a.character) < std::tie(b.paragraph, b.character);
}

// What the entries of a step hold: how many, how many line breaks, and where the last break is.
struct StepShape {
    std::uint32_t count = 0;
    std::uint32_t breaks = 0;
    std::uint32_t afterLastBreak = 0; // entries after the last line break
};

StepShape shapeOf(const EntryList& entries)
{
    StepShape shape;
    shape.count = std::uint32_t(entries.size());
    const BrailleCharacter* lineBreak = CharacterDictionary::instance().lineBreakEntry();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == lineBreak) {
            ++shape.breaks;
            shape.afterLastBreak = std::uint32_t(entries.size() - i - 1);
        }
    return shape;
}

// The paragraphs of a section by number.
std::vector<const BrailleParagraph*> paragraphsOf(const BrailleDocument& document, SectionKind section)
{
    std::vector<const BrailleParagraph*> out;
    for (const BrailleParagraph& p : document.sections[section].paragraphs)
        out.push_back(&p);
    return out;
}

StretchText stretchIn(const std::vector<const BrailleParagraph*>& paragraphs, DocumentLocation begin,
                      DocumentLocation end)
{
    StretchText text;
    if (before(end, begin) || end.paragraph >= paragraphs.size())
        return text;
    for (std::uint32_t p = begin.paragraph; p <= end.paragraph; ++p) {
        const CharacterSequence& chars = *paragraphs[p]->characters;
        const std::size_t from = p == begin.paragraph ? begin.character : 0;
        const std::size_t to = p == end.paragraph ? end.character : chars.size();
        if (from > chars.size() || to > chars.size())
            return text;
        for (std::size_t i = from; i < to; ++i) {
            text.print += chars[i]->print;
            text.braille += chars[i]->nabcc;
        }
    }
    text.valid = true;
    return text;
}

} // namespace

StretchText stretchText(const BrailleDocument& document, SectionKind section, DocumentLocation begin,
                        DocumentLocation end)
{
    return stretchIn(paragraphsOf(document, section), begin, end);
}

void ReviewList::clear()
{
    m_items.clear();
    m_buried.clear();
    ++m_revision;
}

void ReviewList::add(std::vector<ReviewItem> items)
{
    if (items.empty())
        return;
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    std::stable_sort(m_items.begin(), m_items.end(), reviewOrder);
    for (const ReviewItem& item : m_items)
        m_reach = std::max(m_reach, item.end.paragraph - item.begin.paragraph);
    ++m_revision;
}

void ReviewList::replaceFindings(std::optional<SectionKind> section, std::vector<ReviewItem> findings)
{
    const auto inScope = [&](const ReviewItem& item) {
        return !isTranslationKind(item.kind) && (!section || item.section == *section);
    };
    for (ReviewItem& found : findings)
        for (const ReviewItem& old : m_items)
            if (inScope(old) && old.done && old.kind == found.kind && old.section == found.section &&
                old.begin == found.begin && old.braille == found.braille)
                found.done = true;
    std::erase_if(m_items, inScope);
    ++m_revision;
    add(std::move(findings));
}

void ReviewList::setDone(std::size_t index, bool done)
{
    if (index < m_items.size() && m_items[index].done != done) {
        m_items[index].done = done;
        ++m_revision;
    }
}

void ReviewList::remove(std::size_t index)
{
    if (index < m_items.size()) {
        m_items.erase(m_items.begin() + std::ptrdiff_t(index));
        ++m_revision;
    }
}

void ReviewList::startFollowing(const UndoHistory& undo)
{
    m_serial = undo.currentSerial();
    m_following = true;
}

bool ReviewList::follow(const UndoHistory& undo, const BrailleDocument& document)
{
    if (!m_following) {
        startFollowing(undo);
        return false;
    }
    if (undo.currentSerial() == m_serial)
        return false;
    if (m_items.empty()) {
        m_serial = undo.currentSerial(); // nothing to move
        return false;
    }
    const std::uint64_t revision = m_revision;
    const UndoHistory::Change change = undo.changeSince(m_serial, std::size_t(-1));
    m_serial = undo.currentSerial();
    if (change.steps.empty()) {
        // The history no longer reaches the state the items were placed in.
        keepValid(document);
        return m_revision != revision;
    }
    for (const UndoStep* step : change.steps)
        if (step->kind == kInsertion || step->kind == kDeletion)
            apply(step->section, step->where, step->entries, (step->kind == kInsertion) != change.undone);
    for (ReviewItem& item : m_items)
        if (item.stale) {
            refresh(document, item);
            item.stale = false;
        }
    return m_revision != revision;
}

void ReviewList::refresh(const BrailleDocument& document, ReviewItem& item)
{
    // The section's kept place is near the edit, so the paragraph is found without a long walk.
    const DocumentSection& section = document.sections[item.section];
    auto p = section.placeOfNumber(item.begin.paragraph).paragraph;
    std::u16string print, braille;
    for (std::uint32_t n = item.begin.paragraph; n <= item.end.paragraph && p != section.paragraphs.end(); ++n, ++p) {
        const CharacterSequence& chars = *p->characters;
        const std::size_t from = n == item.begin.paragraph ? item.begin.character : 0;
        const std::size_t to = std::min<std::size_t>(n == item.end.paragraph ? item.end.character : chars.size(), chars.size());
        for (std::size_t i = from; i < to; ++i) {
            print += chars[i]->print;
            braille += chars[i]->nabcc;
        }
    }
    item.braille = std::move(braille);
    // A word keeps its print; a finding shows the characters it stands on.
    if (!isTranslationKind(item.kind))
        item.print = std::move(print);
    ++m_revision;
}

std::vector<ReviewItem>::iterator ReviewList::firstFrom(SectionKind section, std::uint32_t paragraph)
{
    return std::lower_bound(m_items.begin(), m_items.end(), key(section, {paragraph, 0}),
                            [](const ReviewItem& item, const auto& k) { return key(item.section, item.begin) < k; });
}

void ReviewList::apply(SectionKind section, DocumentLocation where, const EntryList& entries, bool inserted)
{
    if (entries.empty())
        return;
    if (inserted)
        insertAt(section, where, entries);
    else
        deleteAt(section, where, entries);
}

void ReviewList::insertAt(SectionKind section, DocumentLocation where, const EntryList& entries)
{
    const StepShape shape = shapeOf(entries);
    const auto moved = [&](DocumentLocation at) -> DocumentLocation {
        if (at.paragraph > where.paragraph)
            return {at.paragraph + shape.breaks, at.character};
        if (shape.breaks == 0)
            return {at.paragraph, at.character + shape.count};
        return {at.paragraph + shape.breaks, at.character - where.character + shape.afterLastBreak};
    };
    // Items that begin in an earlier paragraph may end in this one: the search starts as many
    // paragraphs back as the widest item reaches.
    auto it = firstFrom(section, where.paragraph > m_reach ? where.paragraph - m_reach : 0);
    bool changed = false;
    // The same characters put back where a deletion took an item's text: an undo.
    std::vector<ReviewItem> raised;
    if (!m_buried.empty() && m_buried.back().section == section && m_buried.back().where == where &&
        m_buried.back().entries == entries) {
        raised = std::move(m_buried.back().items);
        m_buried.pop_back();
    }
    for (; it != m_items.end() && it->section == section; ++it) {
        if (it->begin.paragraph > where.paragraph && shape.breaks == 0)
            break;
        const bool empty = it->begin == it->end;
        // An insertion at the item's start goes before it; at its end, after it.
        if (!before(it->begin, where)) {
            it->begin = moved(it->begin);
            changed = true;
        }
        if (before(where, it->end) || (empty && it->end == where)) {
            it->stale = it->stale || before(it->begin, where);
            it->end = moved(it->end);
            changed = true;
        }
        m_reach = std::max(m_reach, it->end.paragraph - it->begin.paragraph);
    }
    if (!raised.empty()) {
        // Back in book order, where they were before the deletion.
        for (ReviewItem& item : raised) {
            const auto at = std::lower_bound(m_items.begin(), m_items.end(), key(item.section, item.begin),
                                             [](const ReviewItem& i, const auto& k) { return key(i.section, i.begin) < k; });
            m_reach = std::max(m_reach, item.end.paragraph - item.begin.paragraph);
            m_items.insert(at, std::move(item));
        }
        changed = true;
    }
    if (changed)
        ++m_revision;
}

void ReviewList::deleteAt(SectionKind section, DocumentLocation where, const EntryList& entries)
{
    const StepShape shape = shapeOf(entries);
    const DocumentLocation stop = shape.breaks == 0 ? DocumentLocation{where.paragraph, where.character + shape.count}
                                                    : DocumentLocation{where.paragraph + shape.breaks, shape.afterLastBreak};
    const auto moved = [&](DocumentLocation at) -> DocumentLocation {
        if (before(at, where))
            return at;
        if (before(at, stop))
            return where;
        if (at.paragraph == stop.paragraph)
            return {where.paragraph, where.character + (at.character - stop.character)};
        return {at.paragraph - shape.breaks, at.character};
    };
    auto it = firstFrom(section, where.paragraph > m_reach ? where.paragraph - m_reach : 0);
    bool changed = false;
    std::vector<std::size_t> emptied;
    Buried buried{section, where, entries, {}};
    for (; it != m_items.end() && it->section == section; ++it) {
        if (it->begin.paragraph > stop.paragraph && shape.breaks == 0)
            break;
        const bool wasEmpty = it->begin == it->end;
        const DocumentLocation b = moved(it->begin), e = moved(it->end);
        if (b == it->begin && e == it->end)
            continue;
        if (!wasEmpty && b == e)
            buried.items.push_back(*it); // as it was, for an undo of this deletion
        // Characters went from inside the item, not only from before it.
        it->stale = it->stale || (before(where, it->end) && before(it->begin, stop));
        it->begin = b;
        it->end = e;
        changed = true;
        if (!wasEmpty && b == e) {
            emptied.push_back(std::size_t(it - m_items.begin())); // its text is gone: so is the item
        }
    }
    for (auto i = emptied.rbegin(); i != emptied.rend(); ++i)
        m_items.erase(m_items.begin() + std::ptrdiff_t(*i));
    if (!buried.items.empty()) {
        m_buried.push_back(std::move(buried));
        if (m_buried.size() > kBuriedKept)
            m_buried.erase(m_buried.begin());
    }
    if (changed)
        ++m_revision;
}

std::size_t ReviewList::keepValid(const BrailleDocument& document)
{
    std::array<std::vector<const BrailleParagraph*>, kSectionCount> paragraphs;
    for (int s = 0; s < kSectionCount; ++s)
        paragraphs[std::size_t(s)] = paragraphsOf(document, SectionKind(s));
    const std::size_t before = m_items.size();
    std::erase_if(m_items, [&](const ReviewItem& item) {
        if (std::uint32_t(item.section) >= kSectionCount)
            return true;
        const StretchText text = stretchIn(paragraphs[item.section], item.begin, item.end);
        return !text.valid || text.braille != item.braille || item.begin == item.end;
    });
    if (m_items.size() != before)
        ++m_revision;
    return before - m_items.size();
}

std::optional<std::size_t> ReviewList::next(SectionKind section, DocumentLocation at, bool forward) const
{
    const auto here = key(section, at);
    const std::size_t n = m_items.size();
    std::optional<std::size_t> wrapped;
    if (forward) {
        for (std::size_t i = 0; i < n; ++i) {
            if (m_items[i].done)
                continue;
            if (key(m_items[i].section, m_items[i].begin) > here)
                return i;
            if (!wrapped)
                wrapped = i;
        }
    } else {
        for (std::size_t i = n; i-- > 0;) {
            if (m_items[i].done)
                continue;
            if (key(m_items[i].section, m_items[i].begin) < here)
                return i;
            if (!wrapped)
                wrapped = i;
        }
    }
    return wrapped;
}

std::optional<std::size_t> ReviewList::itemAt(SectionKind section, DocumentLocation at) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const ReviewItem& item = m_items[i];
        if (item.section == section && !before(at, item.begin) && before(at, item.end))
            return i;
    }
    return std::nullopt;
}

} // namespace braille
