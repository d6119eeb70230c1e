#pragma once
// Printing and print preview: the view's picture of the current section, one braille page of the
// book on each sheet, scaled to the sheet's width when the lines are wider.

class QPrinter;
class QWidget;

namespace braille {

class EditorView;

void printBook(QPrinter& printer, EditorView& view);
// The print dialog (or the preview), then the book.
void printWithDialog(QWidget* parent, EditorView& view, bool preview);

} // namespace braille
