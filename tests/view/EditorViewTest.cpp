// The editor view as a user meets it: real key, mouse and wheel events, and what is painted.

#include "EditorView.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

struct ViewFixture {
    BrailleDocument document;
    EditorView view{PageLayout{22, 32}};

    explicit ViewFixture(std::u16string_view body, QSize size = {900, 600})
    {
        fillSection(document, body);
        view.setDocument(&document);
        view.resize(size);
        view.show();
        view.setFocus();
        QApplication::processEvents();
    }
    const ViewMetrics& m() const { return view.metrics(); }
    // The middle of cell `column` of the row shown at `line` (0 = the first row under the ruler).
    QPoint cell(int line, double column) const
    {
        return {m().labelMargin + int(column * m().cellWidth), (line + 1) * m().rowPitch + m().rowHeight / 2};
    }
    QRect box(int line, int column, int cells = 1) const
    {
        return {m().labelMargin + column * m().cellWidth + 2, (line + 1) * m().rowPitch + 2, cells * m().cellWidth - 3,
                m().rowHeight - 4};
    }
    std::string prints() const { return test::prints(document, false); }
};

} // namespace

TEST(ViewPainting, SelectedCharactersTheBandsCaretCellAndThePageEnds)
{
    std::u16string body;
    for (int i = 0; i < 25; ++i)
        body += u"あいう\n";
    ViewFixture f(body, {900, 0});
    f.view.resize(900, 24 * f.m().rowPitch + 2 * f.m().rowHeight);
    QTest::keyClick(&f.view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&f.view, Qt::Key_Right, Qt::ShiftModifier);
    const QImage image = picture(*f.view.viewport());
    // あ and い are selected, う is not.
    EXPECT_GT(countColour(image, f.box(0, 0), palette::selectedBackground), 50);
    EXPECT_GT(countColour(image, f.box(0, 1), palette::selectedBackground), 50);
    EXPECT_EQ(countColour(image, f.box(0, 2), palette::selectedBackground), 0);
    // The caret stands on う: its cells are green in the band.
    const int H = image.height();
    const QRect band(f.m().labelMargin + 2 * f.m().cellWidth, H - f.m().rowHeight, f.m().cellWidth, f.m().rowHeight);
    EXPECT_GT(countColour(image, band, palette::caretCell), 0);
    EXPECT_EQ(countColour(image, band.translated(-f.m().cellWidth, 0), palette::caretCell), 0);
    // With 22 lines a page holds 21 rows: the bar follows row 20 and no other.
    const auto barBelow = [&](int line) {
        const int bottom = (line + 1) * f.m().rowPitch + f.m().rowHeight - 1;
        return countColour(image, QRect(0, bottom + 2, image.width(), 3), palette::pageEnd);
    };
    EXPECT_GT(barBelow(20), image.width());
    EXPECT_EQ(barBelow(19), 0);
    EXPECT_EQ(barBelow(21), 0);
}

TEST(ViewPainting, TheLoadingScreenShowsTheShareRead)
{
    ViewFixture f(u"あ");
    f.view.showLoading(1, 4);
    const QImage image = picture(*f.view.viewport());
    const QRect all = image.rect();
    EXPECT_GT(countColour(image, all, palette::selectedBackground), all.width() * all.height() * 9 / 10);
    // "25 %" in white below the middle, nothing white above it.
    EXPECT_GT(countColour(image, QRect(0, all.height() / 2, all.width(), all.height() / 2), Qt::white), 10);
    EXPECT_EQ(countColour(image, QRect(0, 0, all.width(), all.height() / 2 - 1), Qt::white), 0);
}

TEST(ViewInput, KeysTypeThroughTheSessionAndEnterAndBackspaceEdit)
{
    ViewFixture f(u"");
    QTest::keyClicks(&f.view, "kyouha");
    QTest::keyClick(&f.view, Qt::Key_Return);
    QTest::keyClicks(&f.view, "1");
    EXPECT_EQ(f.prints(), "きょうは↲\uE003１");
    QTest::keyClick(&f.view, Qt::Key_Backspace);
    QTest::keyClick(&f.view, Qt::Key_Backspace);
    EXPECT_EQ(f.prints(), "きょうは↲");
    QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier); // an accelerator, not a letter
    EXPECT_NE(f.prints(), "きょうは↲");
    // Committed text from an input method.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("５エン"));
    QApplication::sendEvent(&f.view, &commit);
    EXPECT_NE(f.prints().find("\uE003５\uE00Dエン"), std::string::npos);
}

TEST(ViewInput, ClickShiftClickDragAndWheel)
{
    std::u16string body = u"あいうえお\n";
    for (int i = 0; i < 60; ++i)
        body += u"か\n";
    ViewFixture f(body, {900, 400});
    const BrailleDocumentCursor& c = f.view.session().cursor();
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.cell(0, 2.2));
    EXPECT_EQ(c.position(), (CellPosition{2, 0}));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.cell(0, 2.7)); // right half: after い
    EXPECT_EQ(c.position(), (CellPosition{3, 0}));
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::ShiftModifier, f.cell(0, 4.2));
    EXPECT_EQ(c.selectionStart(), (CellPosition{3, 0}));
    EXPECT_EQ(c.selectionStop(), (CellPosition{4, 0}));
    // A drag from the first cell to the fourth selects three characters.
    QTest::mousePress(f.view.viewport(), Qt::LeftButton, {}, f.cell(0, 0.1));
    QMouseEvent move(QEvent::MouseMove, QPointF(f.cell(0, 3.1)), f.view.viewport()->mapToGlobal(QPointF(f.cell(0, 3.1))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.view.viewport(), &move);
    QTest::mouseRelease(f.view.viewport(), Qt::LeftButton, {}, f.cell(0, 3.1));
    EXPECT_EQ(c.selectionStart(), (CellPosition{0, 0}));
    EXPECT_EQ(c.selectionStop(), (CellPosition{3, 0}));
    // A wheel notch down scrolls four rows; the caret stays.
    QWheelEvent wheel(QPointF(f.cell(1, 1)), f.view.viewport()->mapToGlobal(QPointF(f.cell(1, 1))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.view.viewport(), &wheel);
    EXPECT_EQ(f.view.session().scrollPosition(), 4u);
    EXPECT_EQ(c.row(), 0u);
    // The scroll bar follows, and moving it scrolls the rows.
    EXPECT_EQ(f.view.verticalScrollBar()->value(), 4);
    f.view.verticalScrollBar()->setValue(10);
    EXPECT_EQ(f.view.session().scrollPosition(), 10u);
}

TEST(ViewInput, HoldingRightMovesOnlyTheCaretUntilReleased)
{
    ViewFixture f(u"あいうえおかきくけこ");
    picture(*f.view.viewport());
    const int before = f.view.fullRepaints();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&f.view, &repeat);
        picture(*f.view.viewport());
    }
    EXPECT_EQ(f.view.session().cursor().column, 3u);
    EXPECT_EQ(f.view.fullRepaints(), before);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&f.view, &release);
    picture(*f.view.viewport());
    EXPECT_GT(f.view.fullRepaints(), before);
}

TEST(ViewInput, ALineWiderThanTheWindowScrollsSidewaysWithTheCaret)
{
    ViewFixture f(u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ", {420, 300});
    QScrollBar* bar = f.view.horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0); // the original-page column is within reach
    QTest::keyClick(&f.view, Qt::Key_End);
    picture(*f.view.viewport());
    EXPECT_EQ(f.view.session().cursor().column, 30u);
    const int caretX = f.view.caretPoint().x() - bar->value();
    EXPECT_GT(bar->value(), 0);
    EXPECT_GE(caretX, 0);
    EXPECT_LT(caretX, f.view.viewport()->width());
    // A click lands on the cell under the pointer, wherever the line is scrolled to.
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.cell(0, 25.2) - QPoint(bar->value(), 0));
    EXPECT_EQ(f.view.session().cursor().column, 25u);
    QTest::keyClick(&f.view, Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
}
