#include "BookPrinting.h"

#include "EditorView.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace braille {

void printBook(QPrinter& printer, EditorView& view)
{
    const BrailleDocument* document = view.session().constDocument();
    if (!document)
        return;
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The screen's picture at the printer's resolution: the font keeps its size in points.
    const QFont font(view.viewFont(), &printer);
    const ViewMetrics metrics = ViewMetrics::of(font, view.linkMode(), view.viewStyle());
    const std::uint32_t rows = document->section().rowCount;
    const std::uint32_t linesPerPage = view.session().pageLayout().LineNumber;
    const std::uint32_t perSheet = linesPerPage > 2 ? linesPerPage - 1 : 1;
    ViewFrame frame = view.frame(QSize(page.width(), (int(perSheet) + 1) * metrics.rowPitch + metrics.rowHeight));
    // The sheet shows the book's picture scaled to its width when the lines are wider.
    const int pictureWidth = metrics.labelMargin + int(frame.cellsPerLine + 9) * metrics.cellWidth;
    const double scale = std::min(1.0, double(page.width()) / pictureWidth);
    frame.size.setWidth(int(page.width() / scale));
    painter.scale(scale, scale);
    for (std::uint32_t top = 0; top < std::max<std::uint32_t>(rows, 1); top += perSheet) {
        if (top > 0)
            printer.newPage();
        frame.top = top;
        paintView(painter, font, metrics, frame);
    }
}

void printWithDialog(QWidget* parent, EditorView& view, bool preview)
{
    QPrinter printer(QPrinter::HighResolution);
    if (preview) {
        QPrintPreviewDialog dialog(&printer, parent);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&view](QPrinter* target) { printBook(*target, view); });
        dialog.exec();
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() == QDialog::Accepted)
            printBook(printer, view);
    }
}

} // namespace braille
