#pragma once
// Bringing a print book into the window: the source read and every paragraph translated and
// typed on a worker thread, with a progress dialog whose キャンセル stops it (the open book stays
// as it was). The result is a new book; the message says what was made.

#include "BrailleDocument.h"
#include "PageLayout.h"
#include "ReviewItem.h"

#include <QString>

#include <memory>

class QWidget;

namespace braille {

struct PrintBookImportResult {
    std::unique_ptr<BrailleDocument> document; // none on failure or cancel
    QString error;                             // why there is none (empty when cancelled)
    QString summary;                           // what was made, for the message pane
    std::vector<ReviewItem> review;            // the words to check, for the review list
};

// Whether `path` is a print book the import reads (by its extension).
bool isPrintBookFile(const QString& path);
// The file dialog's filter for print books.
QString printBookFilter();

PrintBookImportResult importPrintBookWithProgress(QWidget* parent, const QString& path, PageLayout layout);

} // namespace braille
