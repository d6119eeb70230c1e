// The braille display link with a test driver in place of a display: what is shown on it, and
// its keys arriving in the editor.

#include "EditorView.h"
#include "DisplayDriverCodes.h"
#include "GuiTestSupport.h"
#include "DocumentBuilder.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace braille;
using namespace braille::test;

namespace {

// The test driver's own functions, reached through the library the link loads. The test holds
// its own handle, so the driver's state outlives the link's unloading.
struct TestDriver {
    void* library;
    void (*reset)(int) = nullptr;
    void (*press)(int) = nullptr;
    int (*waiting)() = nullptr;
    void (*counts)(int*, char*, int) = nullptr;

    explicit TestDriver(const char* path, int initFailures = 0) : library(dlopen(path, RTLD_NOW))
    {
        if (!library)
            throw std::runtime_error(dlerror());
        reset = reinterpret_cast<void (*)(int)>(dlsym(library, "testdisplay_reset"));
        press = reinterpret_cast<void (*)(int)>(dlsym(library, "testdisplay_press"));
        waiting = reinterpret_cast<int (*)()>(dlsym(library, "testdisplay_waiting"));
        counts = reinterpret_cast<void (*)(int*, char*, int)>(dlsym(library, "testdisplay_counts"));
        reset(initFailures);
    }
    ~TestDriver() { dlclose(library); }
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;
    struct State {
        int inits, prints, deletes, keyCalls, caret, focus;
        std::string row;
    };
    State state() const
    {
        int c[6];
        char row[256];
        counts(c, row, sizeof row);
        return {c[0], c[1], c[2], c[3], c[4], c[5], row};
    }
    // Presses keys on the display and waits until the editor has taken them all.
    void type(std::initializer_list<int> codes)
    {
        for (int code : codes)
            press(code);
        QElapsedTimer clock;
        clock.start();
        while (waiting() > 0 && clock.elapsed() < 5000)
            QTest::qWait(5);
        QTest::qWait(30);
    }
};

struct DisplayFixture {
    BrailleDocument document;
    EditorView view{PageLayout{22, 32}};
    QSignalSpy problems{&view, &EditorView::displayProblem};

    // A view that is not shown is never painted, as a minimised window is not.
    DisplayFixture(const char* driver, std::u16string_view body, bool shown = true)
    {
        fillSection(document, body);
        view.setDocument(&document);
        view.resize(900, 600);
        if (shown) {
            view.show();
            view.setFocus();
        }
        view.startDisplay(QString::fromUtf8(driver), 3);
        QApplication::processEvents();
    }
    void repaint() { QTest::qWait(20); }
};

} // namespace

TEST(DisplayLink, WithoutAUsableLibraryNothingIsShownOrPolled)
{
    DisplayFixture missing("/nonexistent/libktnbrlc.so", u"あいう");
    EXPECT_FALSE(missing.view.display().libraryLoaded());
    EXPECT_EQ(missing.problems.count(), 0); // most users have no display: nothing to say

    TestDriver driver(TENKORA_TEST_DISPLAY_NOPRINT);
    DisplayFixture noPrint(TENKORA_TEST_DISPLAY_NOPRINT, u"あいう");
    QTest::qWait(2200); // a retry tick would open it now
    EXPECT_FALSE(noPrint.view.display().libraryLoaded());
    EXPECT_EQ(driver.state().inits, 0);
    EXPECT_EQ(noPrint.problems.count(), 1);

    // Without brldvc_key the display only shows.
    TestDriver showOnly(TENKORA_TEST_DISPLAY_NOKEY);
    DisplayFixture f(TENKORA_TEST_DISPLAY_NOKEY, u"あいう");
    f.repaint();
    EXPECT_TRUE(f.view.display().deviceOpen());
    EXPECT_FALSE(f.view.display().polling());
    EXPECT_EQ(showOnly.state().row, "ABC "); // the paragraph's end is a blank cell
}

TEST(DisplayLink, ShowsTheCaretsRowButNotWhileAnArrowKeyRepeats)
{
    TestDriver driver(TENKORA_TEST_DISPLAY);
    DisplayFixture f(TENKORA_TEST_DISPLAY, u"あいうえお");
    f.repaint();
    ASSERT_TRUE(f.view.display().deviceOpen());
    EXPECT_EQ(f.view.display().port(), 3);
    EXPECT_EQ(driver.state().row, "ABCFI ");
    EXPECT_EQ(driver.state().caret, 1);

    // Holding Right moves only the caret: the display follows when the key is let go.
    const int prints = driver.state().prints;
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&f.view, &repeat);
        f.repaint();
    }
    EXPECT_EQ(driver.state().prints, prints);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&f.view, &release);
    f.repaint();
    EXPECT_GT(driver.state().prints, prints);
    EXPECT_EQ(driver.state().caret, 4);
}

TEST(DisplayLink, TheDisplayIsGivenBackWhileAMenuOrAnotherWindowHasTheKeys)
{
    TestDriver driver(TENKORA_TEST_DISPLAY);
    DisplayFixture f(TENKORA_TEST_DISPLAY, u"あいうえお");
    QApplication::setActiveWindow(&f.view);
    f.view.setFocus();
    f.repaint();
    ASSERT_TRUE(f.view.hasFocus());
    // A menu takes the keys without taking the focus: the driver hears it all the same.
    QMenu menu;
    menu.addAction(QStringLiteral("切り取り"));
    menu.popup(QPoint(10, 10));
    EXPECT_TRUE(waitUntil([&] { return driver.state().focus == 0; }, 2000));
    menu.close();
    EXPECT_TRUE(waitUntil([&] { return driver.state().focus == 1; }, 2000));
    // Another window in front.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    EXPECT_TRUE(waitUntil([&] { return driver.state().focus == 0; }, 2000));
}

TEST(DisplayLink, KeysOfTheDisplayEditAndMove)
{
    TestDriver driver(TENKORA_TEST_DISPLAY);
    DisplayFixture f(TENKORA_TEST_DISPLAY, u"あいうえおかき");
    f.repaint();

    // Routing key 3205 puts the caret on cell 4 of the row (counted from 0).
    driver.type({3205});
    EXPECT_EQ(f.view.session().cursor().column, 4u);
    EXPECT_EQ(driver.state().caret, 5);

    // A cell typed on the display goes through the display's own conversion: the cell stays
    // the cell it was, and the display shows it at once.
    driver.type({3201, 0x41, 0x20});
    EXPECT_EQ(driver.state().row, "AABCFI*< ");

    // 530 is F2: the MATH opener.
    EXPECT_FALSE(f.view.session().modes().isMath());
    driver.type({530});
    EXPECT_TRUE(f.view.session().modes().isMath());
}

TEST(DisplayLink, AWindowThatIsNeverPaintedStillShowsWhatTheDisplaysKeysDo)
{
    TestDriver driver(TENKORA_TEST_DISPLAY);
    DisplayFixture f(TENKORA_TEST_DISPLAY, u"あいう", false);
    f.repaint();
    EXPECT_EQ(driver.state().row, "ABC ");
    driver.type({3201, 0x41, 0x20});
    EXPECT_EQ(driver.state().row, "AABC ");
    EXPECT_EQ(f.view.fullRepaints(), 0);
}

TEST(DisplayLink, RoutingKeysReachEveryCellOfALongRow)
{
    TestDriver driver(TENKORA_TEST_DISPLAY);
    DisplayFixture f(TENKORA_TEST_DISPLAY, std::u16string(60, u'あ'));
    f.view.session().setPageLayout(PageLayout{22, 80});
    f.repaint();
    ASSERT_EQ(driver.state().row.size(), 61u);
    // The wide codes name any cell up to 99; a code past them, or between the ranges, is nothing.
    driver.type({kWideRoutingCodeFirst + 55});
    EXPECT_EQ(f.view.session().cursor().column, 55u);
    EXPECT_EQ(driver.state().caret, 56);
    driver.type({kRoutingCodeLast + 1, kWideRoutingCodeLast + 1});
    EXPECT_EQ(f.view.session().cursor().column, 55u);
    // The codes drivers have always sent keep their cells.
    driver.type({kRoutingCodeLast});
    EXPECT_EQ(f.view.session().cursor().column, 46u);
}

TEST(DisplayLink, ADisplayThatAppearsLaterIsOpenedAndClosingStopsThePolling)
{
    TestDriver driver(TENKORA_TEST_DISPLAY, 1);
    auto f = std::make_unique<DisplayFixture>(TENKORA_TEST_DISPLAY, u"あいう");
    EXPECT_FALSE(f->view.display().deviceOpen());
    EXPECT_EQ(f->problems.count(), 1);
    QTest::qWait(2300);
    EXPECT_TRUE(f->view.display().deviceOpen());
    EXPECT_EQ(driver.state().inits, 2);
    EXPECT_EQ(driver.state().row, "ABC "); // shown as soon as it opens
    EXPECT_EQ(f->problems.count(), 1); // said once, not at every retry

    driver.press(3203);
    f->view.display().close();
    EXPECT_FALSE(f->view.display().polling());
    const int calls = driver.state().keyCalls;
    QTest::qWait(50);
    EXPECT_EQ(driver.state().keyCalls, calls);
    EXPECT_EQ(driver.state().deletes, 1);
    f.reset(); // the view closes an already closed link without a second delete
    EXPECT_EQ(driver.state().deletes, 1);
}
