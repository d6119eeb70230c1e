#include "PrintBookImport.h"

#include "AutoTranslator.h"
#include "PrintBook.h"
#include "PrintBookTyping.h"
#include "Prompts.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace braille {

bool isPrintBookFile(const QString& path)
{
    static const QStringList suffixes{QStringLiteral("txt"), QStringLiteral("epub"), QStringLiteral("docx"),
                                      QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("xhtml")};
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

QString printBookFilter()
{
    return QStringLiteral("墨字の本 (*.txt *.epub *.docx *.html *.htm *.xhtml);;すべてのファイル (*)");
}

PrintBookImportResult importPrintBookWithProgress(QWidget* parent, const QString& path, PageLayout layout)
{
    PrintBookImportResult result;
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> done{0}, total{0};
    std::string error;
    ImportReport report;
    PrintBookTyping typed;
    // The reading and the typing touch nothing of the window: the book is new, the analyser the
    // worker's own.
    QThread* worker = QThread::create([&] {
        ImportResult imported = importPrintBook(path.toStdU16String());
        if (!imported.book) {
            error = imported.error;
            return;
        }
        report = imported.book->report;
        autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
        if (!opened.translator) {
            error = "automatic translation is not available: " + opened.error;
            return;
        }
        std::vector<autotranslate::UserReadingError> ignored;
        opened.translator->setUserReadings(
            autotranslate::UserReadings::load(autotranslate::UserReadings::defaultPath(), ignored));
        typed = typePrintBook(*imported.book, *opened.translator, layout, [&](std::size_t n, std::size_t of) {
            done = n;
            total = of;
            return !cancel.load();
        });
    });
    // Shown at once, so that nothing typed meanwhile reaches the open book.
    const std::unique_ptr<QProgressDialog> dialog =
        Prompts::progress(QStringLiteral("%1 を取り込んでいます…").arg(QFileInfo(path).fileName()), parent, 0, 0);
    QProgressDialog& progress = *dialog;
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] { cancel = true; });
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, &progress, [&] {
        if (total > 0) {
            progress.setMaximum(int(total.load()));
            progress.setValue(int(done.load()));
        }
    });
    follow.start(100);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    progress.reset();
    if (cancel || typed.cancelled)
        return result;
    if (!error.empty() || !typed.document) {
        result.error = QString::fromStdString(error);
        return result;
    }
    const std::size_t guessed = autotranslate::totalCount(typed.guessed);
    const std::size_t unknown = autotranslate::totalCount(typed.unknown);
    result.summary = QStringLiteral("%1 を取り込みました: 段落 %2、見出し %3、原本ページ %4、ルビ %5、推測した読み %6、辞書にない語 %7")
                         .arg(QFileInfo(path).fileName())
                         .arg(report.paragraphs)
                         .arg(report.headings)
                         .arg(report.pages)
                         .arg(typed.rubyUsed)
                         .arg(guessed)
                         .arg(unknown);
    if (typed.leftOut)
        result.summary += QStringLiteral("、点字の表にない %1 文字は入りませんでした").arg(typed.leftOut);
    result.document = std::move(typed.document);
    result.review = std::move(typed.reviewItems);
    return result;
}

} // namespace braille
