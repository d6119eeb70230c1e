#pragma once
// The dockable pane "確認リスト": the book's review list shown as a table (what to check, the
// print, the braille given, the place), with a check box that marks an item done and a button
// for the fix of a finding.
//
// The list itself is the core's ReviewList; the pane follows the view's edits into it, shows it
// again shortly after it changed, reads it from beside the book when a book is opened and
// writes it there when the book is saved. Activating an item selects its characters in the
// view; F12 and Shift+F12 (the window's actions) go to the next and previous item not done.

#include "ReviewItem.h"
#include "ReviewList.h"

#include <QDockWidget>
#include <QTimer>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace braille {

class EditorView;
class OpenBook;

class ReviewPane : public QDockWidget {
    Q_OBJECT

public:
    ReviewPane(EditorView& view, OpenBook& book, QWidget* parent = nullptr);

    const ReviewList& list() const { return m_list; }
    QTreeWidget& table() { return *m_table; }
    QPushButton& fixButton() { return *m_fix; }

    // Words of a translated paste, placed where the paste put them.
    void addTranslatedWords(std::vector<ReviewItem> words);
    // 点字チェック: the current section, or the whole book.
    void runCheck(bool wholeBook);
    // F12 (forward) and Shift+F12.
    void goToNext(bool forward);
    // The fix of the current row's finding, asked for by the transcriber.
    void fixCurrent();
    // Brings the table up to date at once (it otherwise follows shortly after a change).
    void showNow();

    // The book was replaced (opened, new, imported): its list, read from beside it, or the words
    // the import left to check.
    void bookReplaced(std::vector<ReviewItem> imported);
    // The book reached its file: the list goes beside it.
    void bookSaved(const QString& path);

private:
    void followEdits();
    void scheduleShow();
    void showItem(int index);
    void doneToggled(QTreeWidgetItem* row);
    // The done flags go beside the book at once while the book equals its file.
    void keepDoneFlags();
    void status(const QString& text);

    EditorView& m_view;
    OpenBook& m_book;
    ReviewList m_list;
    QTreeWidget* m_table;
    QPushButton* m_fix;
    QTimer m_showTimer;
    std::uint64_t m_shownRevision = 0;
    bool m_filling = false; // the table is being filled: its check boxes are not the user's
};

} // namespace braille
