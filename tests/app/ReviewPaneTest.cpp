// The pane "確認リスト": the words of a translated paste, F12 through them, the braille check
// filling the list, and the list kept beside the book.

#include "MainWindow.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "ReviewPane.h"
#include "SessionHost.h"
#include "TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

QStringList column(QTreeWidget& table, int c)
{
    QStringList out;
    for (int i = 0; i < table.topLevelItemCount(); ++i)
        out << table.topLevelItem(i)->text(c);
    return out;
}

std::string selectedPrint(MainWindow& frame)
{
    return u8(EditingSession::printText(frame.view().session().selectedEntries()));
}

} // namespace

TEST(ReviewPane, ListsTranslatedWordsGoesThroughThemWithF12AndShowsTheCheck)
{
    MainWindow frame(PageLayout{});
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.activateWindow();
    frame.view().setFocus();
    QString told;
    Prompts::setAnswers({.message = [&](const QString& text) { told = text; }});
    ReviewPane& pane = frame.reviewPane();
    QTreeWidget& table = pane.table();
    EXPECT_FALSE(pane.isVisible());

    // Two translated pastes: 今日 is a reading guessed each time.
    QTest::keyClicks(&frame.view(), "a");
    QGuiApplication::clipboard()->setText(QStringLiteral("今日は晴れ。"));
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&frame.view(), Qt::Key_Return);
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(told.isEmpty()) << told.toStdString();
    ASSERT_TRUE(waitUntil([&] { return table.topLevelItemCount() == 2; }));
    EXPECT_TRUE(pane.isVisible());
    EXPECT_EQ(pane.windowTitle(), QStringLiteral("確認リスト"));
    EXPECT_EQ(column(table, 1), QStringList({QStringLiteral("今日"), QStringLiteral("今日")}));
    EXPECT_EQ(column(table, 2), QStringList({QStringLiteral("⠈⠪⠒"), QStringLiteral("⠈⠪⠒")})) << column(table, 2).join(u' ').toStdString();
    EXPECT_EQ(column(table, 3), QStringList({QStringLiteral("本文 1-2"), QStringLiteral("本文 1-3")}));
    EXPECT_TRUE(table.topLevelItem(0)->text(0).startsWith(QStringLiteral("読みを推測しました")));

    // F12 from the start of the book selects the first, then the second; Shift+F12 goes back.
    QTest::keyClick(&frame.view(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&frame.view(), Qt::Key_F12);
    EXPECT_EQ(selectedPrint(frame), "キョー");
    EXPECT_EQ(table.indexOfTopLevelItem(table.currentItem()), 0);
    EXPECT_EQ(frame.view().session().cursor().row(), 0u);
    QTest::keyClick(&frame.view(), Qt::Key_F12);
    EXPECT_EQ(table.indexOfTopLevelItem(table.currentItem()), 1);
    EXPECT_EQ(frame.view().session().cursor().row(), 1u);
    QTest::keyClick(&frame.view(), Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_EQ(table.indexOfTopLevelItem(table.currentItem()), 0);
    // Marked done, the first is passed over.
    table.topLevelItem(0)->setCheckState(0, Qt::Checked);
    QTest::keyClick(&frame.view(), Qt::Key_F12);
    QTest::keyClick(&frame.view(), Qt::Key_F12);
    EXPECT_EQ(table.indexOfTopLevelItem(table.currentItem()), 1);

    // Enter on a row of the table selects its characters in the view, which takes the keyboard.
    table.setFocus();
    table.setCurrentItem(table.topLevelItem(0));
    frame.view().session().selectStretch(Body, {0, 0}, {0, 0});
    QTest::keyClick(&table, Qt::Key_Return);
    EXPECT_EQ(selectedPrint(frame), "キョー");
    EXPECT_TRUE(frame.view().hasFocus());

    // The list follows an edit: a line put in before the first paste moves both words down.
    QTest::keyClick(&frame.view(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&frame.view(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return column(table, 3) == QStringList({QStringLiteral("本文 1-3"), QStringLiteral("本文 1-4")}); }))
        << column(table, 3).join(u' ').toStdString();

    // Digits typed and deleted leave their number sign; the check lists it with its fix.
    QTest::keyClick(&frame.view(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(&frame.view(), "2026");
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&frame.view(), Qt::Key_Backspace);
    frame.action(33430)->trigger();
    EXPECT_TRUE(frame.action(33430)->text().startsWith(QStringLiteral("点字チェック")));
    ASSERT_EQ(table.topLevelItemCount(), 3);
    EXPECT_EQ(table.topLevelItem(2)->text(0), QStringLiteral("数符のあとに数字がありません"));
    EXPECT_EQ(table.topLevelItem(2)->text(2), QStringLiteral("⠼"));
    EXPECT_TRUE(frame.paneText(kMessagePane).contains(QStringLiteral("1 件"))) << frame.paneText(kMessagePane).toStdString();
    // Nothing was changed until the fix is asked for on the item; then it is one undo step.
    const std::string withSign = prints(*frame.view().session().document());
    EXPECT_NE(withSign.find("\uE003"), std::string::npos);
    table.setCurrentItem(table.topLevelItem(2));
    ASSERT_TRUE(pane.fixButton().isEnabled());
    QTest::mouseClick(&pane.fixButton(), Qt::LeftButton);
    EXPECT_EQ(prints(*frame.view().session().document()).find("\uE003"), std::string::npos);
    EXPECT_EQ(table.topLevelItemCount(), 2);
    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prints(*frame.view().session().document()), withSign);
    // The undo puts the sign back, and its finding with it.
    ASSERT_TRUE(waitUntil([&] { return table.topLevelItemCount() == 3; }));

    // Saved, the list goes beside the book and comes back with it, done flag and all.
    const TempDir folder;
    const QString path = QString::fromStdString((folder.path() / "book.bml").string());
    ASSERT_TRUE(frame.book().saveTo(path));
    ASSERT_TRUE(std::filesystem::exists(folder.path() / "book.bml.review"));
    frame.book().newDocument();
    EXPECT_EQ(table.topLevelItemCount(), 0);
    ASSERT_TRUE(frame.book().openPath(path));
    EXPECT_TRUE(told.isEmpty()) << told.toStdString();
    ASSERT_EQ(table.topLevelItemCount(), 3);
    EXPECT_EQ(table.topLevelItem(0)->checkState(0), Qt::Checked);
    // A list that cannot be read is said, and the book opens without it.
    writeBytes(folder.path() / "book.bml.review", "tenkora-review 1\nguessed\tbody\n");
    frame.book().newDocument();
    ASSERT_TRUE(frame.book().openPath(path));
    EXPECT_TRUE(told.contains(QStringLiteral("確認リストのファイルを読めない"))) << told.toStdString();
    EXPECT_EQ(table.topLevelItemCount(), 0);
    EXPECT_EQ(prints(*frame.view().session().document()), withSign);
    Prompts::setAnswers({});
}
