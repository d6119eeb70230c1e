#pragma once
// Printing and print preview: the view's picture, one braille page of the book on each sheet,
// scaled to the sheet's width when the lines are wider. Either the whole book (its sections in
// the book's order: 表紙, 目次, 本文, 奥付, each from a new sheet, empty ones left out) or the
// section being edited, with its selection, as on the screen.

class QPrinter;
class QWidget;

namespace braille {

class EditorView;

enum class PrintRange { WholeBook, CurrentSection };

// Paints the sheets; returns how many.
int printBook(QPrinter& printer, EditorView& view, PrintRange range = PrintRange::CurrentSection);
// Asks what to print (the whole book or the section), then the print dialog (or the preview),
// then the book.
void printWithDialog(QWidget* parent, EditorView& view, bool preview);

} // namespace braille
