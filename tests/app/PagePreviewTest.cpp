// The page preview and finding one's place as a user meets them: the preview opened from the
// menu shows the export's pages in dots, turns them with PgDn, shows the print under the cells on
// request and prints a proof; the status bar follows the caret's page, line and cell; Ctrl+G asks
// for a page and a line and goes there, or says why not.

#include "MainWindow.h"
#include "BraillePagePainter.h"
#include "CellDots.h"
#include "Cells.h"
#include "CommandIds.h"
#include "DocumentBuilder.h"
#include "GoToPageDialog.h"
#include "GuiTestSupport.h"
#include "PagePreviewDialog.h"
#include "Prompts.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// Seven rows of five kana on pages of four lines of eight cells: three rows a page, so the body
// makes three pages (the last with one row) and the other sections none.
constexpr std::u16string_view kBody = u"あいうえお\nかきくけこ\nさしすせそ\nたちつてと\nなにぬねの\nはひふへほ\nまみむめも";

void openBook(MainWindow& frame)
{
    frame.resize(900, 700);
    frame.show();
    fillSection(frame.book().document(), kBody);
    frame.view().setDocument(&frame.book().document());
    QApplication::processEvents();
}

// Cells of `page` whose dots the picture of the sheet does not show as they are: a raised dot's
// centre must be drawn dark (black, softened at most by antialiasing), an empty position's light.
int wrongDots(const QImage& image, const PagePreviewDialog& dialog, const BraillePage& page, int& raised)
{
    const PageGeometry g = dialog.geometry();
    const QPointF origin = dialog.sheetOrigin(0);
    int wrong = 0;
    for (std::uint32_t line = 0; line < g.lines; ++line)
        for (std::uint32_t column = 0; column < g.columns; ++column) {
            const std::string& cells = line < page.lines.size() ? page.lines[line] : std::string();
            const int mask = column < cells.size() ? cellToDots(char16_t(cells[column])) : 0;
            for (int dot = 1; dot <= 6; ++dot) {
                const QPoint at = (origin + dotCentre(g.cellBox(line, column), dot)).toPoint();
                const bool up = mask & (1 << (dot - 1));
                raised += up;
                if ((qGray(image.pixel(at)) < 96) != up)
                    ++wrong;
            }
        }
    return wrong;
}

// Pixels of the print's ink (blue over the white sheet) in a rectangle of the sheet.
int printInk(const QImage& image, const QRectF& rect)
{
    int n = 0;
    const QRect r = rect.toAlignedRect().intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.blue() > c.red() + 60;
        }
    return n;
}

} // namespace

TEST(PagePreview, ShowsTheExportsPagesInDotsTurnsThemAndShowsThePrintOnRequest)
{
    MainWindow frame(PageLayout{4, 8});
    openBook(frame);
    frame.action(cmd::PagePreview)->trigger();
    PagePreviewDialog* dialog = frame.pagePreviewDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible(); }));
    EXPECT_EQ(dialog->parentWidget(), &frame);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("点字ページプレビュー"));
    const std::vector<BraillePage> pages = paginate(frame.book().document(), PageLayout{4, 8});
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(dialog->pageCount(), 3u);
    EXPECT_EQ(dialog->currentPage(), 0u);
    EXPECT_EQ(dialog->captionLabel()->text(), QStringLiteral("本文 1ページ"));

    // PgDn wherever the focus is in the dialog: on the pages, where it starts, and in the page
    // field (which would otherwise step by ten).
    EXPECT_EQ(dialog->focusWidget(), dialog->sheetWidget());
    QTest::keyClick(dialog->sheetWidget(), Qt::Key_PageDown);
    EXPECT_EQ(dialog->currentPage(), 1u);
    EXPECT_EQ(dialog->pageBox()->value(), 2);
    EXPECT_EQ(dialog->captionLabel()->text(), QStringLiteral("本文 2ページ"));
    dialog->pageBox()->setFocus();
    QTest::keyClick(dialog->pageBox(), Qt::Key_PageDown);
    EXPECT_EQ(dialog->currentPage(), 2u);
    QTest::keyClick(dialog->pageBox(), Qt::Key_PageDown); // the last page stays
    EXPECT_EQ(dialog->currentPage(), 2u);
    QTest::keyClick(dialog->pageBox(), Qt::Key_PageUp);
    EXPECT_EQ(dialog->currentPage(), 1u);

    // Page 2 as painted: every dot of every cell (the page line's #B and the rows た.. は..) where
    // the export has it, and no other.
    // Dots 1 2 3 down the left column, 4 5 6 down the right, as braille numbers them.
    const QRectF box = dialog->geometry().cellBox(1, 0);
    EXPECT_LT(dotCentre(box, 1).x(), dotCentre(box, 4).x());
    EXPECT_EQ(dotCentre(box, 1).y(), dotCentre(box, 4).y());
    EXPECT_LT(dotCentre(box, 1).y(), dotCentre(box, 2).y());
    EXPECT_LT(dotCentre(box, 2).y(), dotCentre(box, 3).y());
    int raised = 0;
    EXPECT_EQ(wrongDots(picture(*dialog->sheetWidget()), *dialog, pages[1], raised), 0);
    EXPECT_GT(raised, 30);

    // The print under the cells, on request: た under the first cell of the page's first row.
    EXPECT_EQ(printInk(picture(*dialog->sheetWidget()), dialog->sheetWidget()->rect()), 0);
    QList<QCheckBox*> boxes = dialog->findChildren<QCheckBox*>();
    QCheckBox* toggle = nullptr;
    for (QCheckBox* box : boxes)
        if (box->text().startsWith(QStringLiteral("墨字を表示")))
            toggle = box;
    ASSERT_NE(toggle, nullptr);
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_TRUE(dialog->printUnder());
    const QRectF withPrint = dialog->geometry().printBox(1, 0, 1).translated(dialog->sheetOrigin(0));
    EXPECT_GT(printInk(picture(*dialog->sheetWidget()), withPrint), 5);
    EXPECT_EQ(wrongDots(picture(*dialog->sheetWidget()), *dialog, pages[1], raised = 0), 0);

    // The proof: one braille page a sheet, with the print under the cells.
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("proof.pdf")));
    dialog->printProof(printer);
    QFile pdf(printer.outputFileName());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QString bytes = QString::fromLatin1(pdf.readAll());
    EXPECT_EQ(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    dialog->close();
}

TEST(FindingOnesPlace, TheStatusBarFollowsTheCaretAndCtrlGGoesToAPageAndLine)
{
    MainWindow frame(PageLayout{4, 8});
    openBook(frame);
    EXPECT_EQ(frame.paneText(kPlacePane), QStringLiteral("1ページ 2行 1マス"));
    QTest::keyClick(&frame.view(), Qt::Key_Right);
    QTest::keyClick(&frame.view(), Qt::Key_Right);
    EXPECT_EQ(frame.paneText(kPlacePane), QStringLiteral("1ページ 2行 3マス"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&frame.view(), Qt::Key_Down);
    EXPECT_EQ(frame.paneText(kPlacePane), QStringLiteral("2ページ 2行 3マス"));
    // The panes the window had are still there.
    EXPECT_EQ(frame.paneText(kModePane), QStringLiteral("TEXT"));
    EXPECT_EQ(frame.paneText(kSectionPane), QStringLiteral("BODY"));

    // Ctrl+G: page 3 has one row (line 2), so line 3 is refused with what there is, and the
    // dialog stays for the line to be mended.
    QStringList told;
    Prompts::setAnswers({.message = [&](const QString& text) { told << text; }});
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<GoToPageDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen << dialog->windowTitle() << QString::number(dialog->pageBox()->value()) + u'-' +
                                             QString::number(dialog->lineBox()->value());
        dialog->pageBox()->setValue(3);
        dialog->lineBox()->setValue(3);
        QTest::keyClick(dialog, Qt::Key_Return);
        seen << (dialog->isVisible() ? QStringLiteral("still open") : QStringLiteral("closed"));
        dialog->lineBox()->setValue(2);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(&frame.view(), Qt::Key_G, Qt::ControlModifier);
    ASSERT_EQ(seen.size(), 3) << "Ctrl+G opened no page-and-line dialog";
    EXPECT_EQ(seen[0], QStringLiteral("ページと行へ移動"));
    EXPECT_EQ(seen[1], QStringLiteral("2-2")); // it starts at the caret's page and line
    EXPECT_EQ(seen[2], QStringLiteral("still open"));
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0], QStringLiteral("3ページに3行はありません。行は2から2までです。"));
    EXPECT_EQ(frame.view().session().cursor().row(), 6u);
    EXPECT_EQ(frame.view().session().cursor().column, 0u);
    EXPECT_EQ(frame.paneText(kPlacePane), QStringLiteral("3ページ 2行 1マス"));
}
