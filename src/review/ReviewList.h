#pragma once
// The review list of a book: the items a human should look at, in document order, each with
// its done flag, kept where its text is while the book is edited.
//
// The list follows edits through the undo history: every edit, its undo and its redo is a step
// that says where characters went in or out (and line breaks among them split or joined
// paragraphs), so the items after it are moved by what it did. A step costs a search in the
// sorted items and a look at those of its own paragraph; only steps that split or join
// paragraphs renumber the paragraphs after them. An item whose characters are all deleted
// leaves the list. When the history cannot say what happened (it was reset), the items whose
// cells are no longer where they were are dropped.

#include "ReviewItem.h"
#include "UndoHistory.h"

#include <optional>
#include <vector>

namespace braille {

class ReviewList {
public:
    const std::vector<ReviewItem>& items() const { return m_items; }
    bool empty() const { return m_items.empty(); }
    std::size_t size() const { return m_items.size(); }
    // Changes whenever an item comes, goes, moves or changes its flag.
    std::uint64_t revision() const { return m_revision; }

    void clear();
    // Puts the items in among the others, in document order.
    void add(std::vector<ReviewItem> items);
    // Findings of a new check of a section (or of every section when none is given) in place of
    // the old findings there; a finding listed before at the same place keeps its done flag. The
    // translation's words stay.
    void replaceFindings(std::optional<SectionKind> section, std::vector<ReviewItem> findings);
    void setDone(std::size_t index, bool done);
    void remove(std::size_t index);

    // From now on the list follows the history from its current state.
    void startFollowing(const UndoHistory& undo);
    // Moves the items by the steps made since the last call (or since startFollowing). Returns
    // whether any item moved or went.
    bool follow(const UndoHistory& undo, const BrailleDocument& document);
    // Drops the items that do not stand on their cells in the document (a list read from a file
    // written for another version of the book). Returns how many went.
    std::size_t keepValid(const BrailleDocument& document);

    // The first item not done after the place (forward) or before it, going round the book
    // once; none when every item is done.
    std::optional<std::size_t> next(SectionKind section, DocumentLocation at, bool forward) const;
    // The item that covers the place, if any.
    std::optional<std::size_t> itemAt(SectionKind section, DocumentLocation at) const;

private:
    // One edit of the document: `entries` went in (or out) at `where` in `section`.
    void apply(SectionKind section, DocumentLocation where, const EntryList& entries, bool inserted);
    void insertAt(SectionKind section, DocumentLocation where, const EntryList& entries);
    void deleteAt(SectionKind section, DocumentLocation where, const EntryList& entries);
    // The cells (and a finding's print) of an item an edit changed inside, taken again.
    void refresh(const BrailleDocument& document, ReviewItem& item);
    std::vector<ReviewItem>::iterator firstFrom(SectionKind section, std::uint32_t paragraph);

    std::vector<ReviewItem> m_items;
    std::uint64_t m_serial = 0;
    bool m_following = false;
    // The most paragraphs an item spans: how far back an edit's search has to start.
    std::uint32_t m_reach = 0;
    std::uint64_t m_revision = 0;
    // Items whose text a deletion took, newest last, with that deletion: undoing it (the same
    // characters put back at the same place) brings them back as they were.
    struct Buried {
        SectionKind section;
        DocumentLocation where;
        EntryList entries;
        std::vector<ReviewItem> items;
    };
    std::vector<Buried> m_buried;
};

// The cells and the print of the characters from `begin` to `end` in a section; empty when the
// stretch is not in the document.
struct StretchText {
    std::u16string print, braille;
    bool valid = false;
};
StretchText stretchText(const BrailleDocument& document, SectionKind section, DocumentLocation begin,
                        DocumentLocation end);

} // namespace braille
