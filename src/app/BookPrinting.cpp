#include "BookPrinting.h"

#include "EditorView.h"
#include "Prompts.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace braille {

namespace {

// A section holding nothing but its end marker.
bool isEmptySection(const DocumentSection& section)
{
    return section.paragraphs.size() == 1 && section.paragraphs.front().characters &&
           section.paragraphs.front().characters->size() <= 1;
}

// The document's current section is `kind` while the object lives: the painter pictures the
// current section. The section is put back before anything else can look at the document.
class SectionShown {
public:
    SectionShown(BrailleDocument& document, SectionKind kind) : m_document(document), m_before(document.currentSection)
    {
        m_document.currentSection = kind;
        m_document.recountRows();
    }
    ~SectionShown() { m_document.currentSection = m_before; }
    SectionShown(const SectionShown&) = delete;
    SectionShown& operator=(const SectionShown&) = delete;

private:
    BrailleDocument& m_document;
    SectionKind m_before;
};

} // namespace

int printBook(QPrinter& printer, EditorView& view, PrintRange range)
{
    BrailleDocument* document = view.session().document();
    if (!document)
        return 0;
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The screen's picture at the printer's resolution: the font keeps its size in points.
    const QFont font(view.viewFont(), &printer);
    const ViewMetrics metrics = ViewMetrics::of(font, view.linkMode(), view.viewStyle());
    const std::uint32_t linesPerPage = view.session().pageLayout().LineNumber;
    const std::uint32_t perSheet = linesPerPage > 2 ? linesPerPage - 1 : 1;
    ViewFrame frame = view.frame(QSize(page.width(), (int(perSheet) + 1) * metrics.rowPitch + metrics.rowHeight));
    // The sheet shows the book's picture scaled to its width when the lines are wider.
    const int pictureWidth = metrics.labelMargin + int(frame.cellsPerLine + 9) * metrics.cellWidth;
    const double scale = std::min(1.0, double(page.width()) / pictureWidth);
    frame.size.setWidth(int(page.width() / scale));
    painter.scale(scale, scale);
    int sheets = 0;
    const auto paintSection = [&](const ViewFrame& f) {
        const std::uint32_t rows = document->section().rowCount;
        ViewFrame sheet = f;
        for (std::uint32_t top = 0; top < std::max<std::uint32_t>(rows, 1); top += perSheet) {
            if (sheets++ > 0)
                printer.newPage();
            sheet.top = top;
            paintView(painter, font, metrics, sheet);
        }
    };
    if (range == PrintRange::CurrentSection) {
        paintSection(frame);
        return sheets;
    }
    // The whole book has no caret or selection: a cursor attached nowhere, and no band.
    const BrailleDocumentCursor nowhere;
    frame.cursor = &nowhere;
    frame.band = false;
    for (int k = 0; k < kSectionCount; ++k) {
        const auto kind = SectionKind(k);
        if (isEmptySection(document->sections[k]))
            continue;
        const SectionShown shown(*document, kind);
        paintSection(frame);
    }
    if (sheets == 0) // an empty book: its body's empty sheet
        paintSection(frame);
    return sheets;
}

void printWithDialog(QWidget* parent, EditorView& view, bool preview)
{
    // The preview shows what printing would print: the same choice for both.
    const int chosen = Prompts::choose(QStringLiteral("印刷する範囲を選んでください。"),
                                       {QStringLiteral("本全体（表紙・目次・本文・奥付）"),
                                        QStringLiteral("編集中のセクションだけ"), QStringLiteral("キャンセル")},
                                       parent, 2);
    if (chosen < 0 || chosen == 2)
        return;
    const PrintRange range = chosen == 0 ? PrintRange::WholeBook : PrintRange::CurrentSection;
    QPrinter printer(QPrinter::HighResolution);
    if (preview) {
        QPrintPreviewDialog dialog(&printer, parent);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&view, range](QPrinter* target) { printBook(*target, view, range); });
        dialog.exec();
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() == QDialog::Accepted)
            printBook(printer, view, range);
    }
}

} // namespace braille
