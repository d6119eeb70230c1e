#pragma once
// 点字ページプレビュー: the book as it will be embossed or exported, page by page, in dots. The
// pages are the export's own (paginate), with the print of every cell beside them; the dialog
// shows one page or two side by side, moves with PgUp and PgDn (Ctrl+Home and Ctrl+End: the first
// and the last), goes to the page typed in its page field, zooms with Ctrl++ and Ctrl+-, shows the
// print under the cells on request, and prints a proof for a sighted proofreader: every page (or
// the printer's range) in dots with the print under them, one braille page a sheet.

#include "BraillePagePainter.h"
#include "PageLayout.h"
#include "Pagination.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace braille {

class PagePreviewDialog : public QDialog {
    Q_OBJECT

public:
    // `pages` and `print` as paginate gives them; `first`: the page shown first (the caret's).
    PagePreviewDialog(std::vector<BraillePage> pages, std::vector<PagePrint> print, PageLayout layout,
                      std::size_t first, QWidget* parent = nullptr);

    std::size_t pageCount() const { return m_pages.size(); }
    // The page shown (the left one of two), from 0.
    std::size_t currentPage() const { return m_current; }
    void showPage(std::size_t index);
    // Forward or back by the pages shown at a time.
    void step(int direction);

    bool twoPages() const;
    void setTwoPages(bool on);
    bool printUnder() const;
    void setPrintUnder(bool on);
    // Zoom: the cell pitch one step larger (+1) or smaller (-1).
    void zoom(int steps);

    // How the pages are drawn, the widget they are drawn in, and where page slot 0 or 1 has its
    // sheet's top left corner there.
    PageGeometry geometry() const;
    QWidget* sheetWidget() const;
    QPointF sheetOrigin(int slot) const;
    QSpinBox* pageBox() const { return m_pageBox; }
    QLabel* captionLabel() const { return m_caption; }

    // The proof: the printer's range of pages (all when it has none), one a sheet.
    void printProof(QPrinter& printer) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Sheet;
    void refresh();
    void printWithDialog();

    std::vector<BraillePage> m_pages;
    std::vector<PagePrint> m_print;
    PageLayout m_layout;
    std::size_t m_current = 0;
    int m_zoom;
    Sheet* m_sheet = nullptr;
    QScrollArea* m_scroll = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_caption = nullptr;
    QCheckBox* m_twoPages = nullptr;
    QCheckBox* m_printUnder = nullptr;
    bool m_updating = false;
};

} // namespace braille
