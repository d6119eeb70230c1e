// The window's "墨字を点訳して貼り付け": Ctrl+Shift+V types the clipboard's print as braille.

#include "MainWindow.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "Settings.h"
#include "SessionHost.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

TEST(AutoTranslateAction, CtrlShiftVTypesTheClipboardsPrintAsOneUndoStep)
{
    MainWindow frame(PageLayout{});
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.activateWindow();
    frame.view().setFocus();
    QTest::keyClicks(&frame.view(), "a");
    const std::string before = prints(*frame.view().session().document());
    ASSERT_NE(before.find("あ"), std::string::npos);
    QString told;
    Prompts::setAnswers({.message = [&](const QString& text) { told = text; }});

    QGuiApplication::clipboard()->setText(QStringLiteral("今日は3匹"));
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(told.isEmpty()) << told.toStdString();
    // Translated, spaced, with the number sign from the rules.
    EXPECT_NE(prints(*frame.view().session().document()).find("あキョーワ□\uE003３ビキ"), std::string::npos);
    EXPECT_TRUE(frame.paneText(kMessagePane).contains(QStringLiteral("今日"))) << frame.paneText(kMessagePane).toStdString();
    // The menu item is there with its key.
    QAction* item = frame.action(33400);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->text().startsWith(QStringLiteral("墨字を点訳して貼り付け")));

    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prints(*frame.view().session().document()), before);

    // The same from the right-click menu.
    QTimer::singleShot(100, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral("墨字を点訳して貼り付け") && a->isEnabled()) {
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
    QContextMenuEvent click(QContextMenuEvent::Keyboard, QPoint(10, 10));
    QApplication::sendEvent(&frame.view(), &click);
    EXPECT_NE(prints(*frame.view().session().document()).find("あキョーワ□\uE003３ビキ"), std::string::npos);
}

TEST(AutoTranslateAction, TheUserDictionaryIsReadAgainOnlyWhenTheFileChanged)
{
    MainWindow frame(PageLayout{});
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.view().setFocus();
    const std::filesystem::path file = std::getenv("TENKORA_CONFIG_DIR") + std::string("/readings.tsv");
    writeBytes(file, "NHK\tえぬえいちけー\n");
    auto paste = [&] {
        QGuiApplication::clipboard()->setText(QStringLiteral("今日の NHK"));
        QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        return prints(*frame.view().session().document());
    };
    // A user word after a space: this once ended the editor.
    EXPECT_NE(paste().find("エヌエイチケー"), std::string::npos);

    // The same size and time: not read again.
    const auto written = std::filesystem::last_write_time(file);
    writeBytes(file, "NHK\tえぬえいちけい\n");
    std::filesystem::last_write_time(file, written);
    QTest::keyClick(&frame.view(), Qt::Key_Return);
    std::string typed = paste();
    EXPECT_EQ(typed.find("エヌエイチケイ"), std::string::npos) << typed;

    writeBytes(file, "NHK\tえぬえいちけい\n# edited\n");
    typed = paste();
    EXPECT_NE(typed.find("エヌエイチケイ"), std::string::npos) << typed;
    std::filesystem::remove(file);
}

TEST(AutoTranslateAction, TheMessageSaysWhenNothingWasTypedAndWhatWasLeftOut)
{
    MainWindow frame(PageLayout{});
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.view().setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("☃"));
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QString message = frame.paneText(kMessagePane);
    EXPECT_FALSE(message.contains(QStringLiteral("貼り付けました"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("貼り付けられる点字はありませんでした"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("1 文字は点字の表にない"))) << message.toStdString();

    QGuiApplication::clipboard()->setText(QStringLiteral("今日は☃"));
    QTest::keyClick(&frame.view(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    message = frame.paneText(kMessagePane);
    EXPECT_TRUE(message.contains(QStringLiteral("貼り付けました"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("1 文字は点字の表にない"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("今日"))) << message.toStdString(); // the guessed reading
}

TEST(AutoTranslateAction, KanjiTheInputMethodCommitsAreTranslatedAsOneStep)
{
    MainWindow frame(PageLayout{});
    frame.show();
    frame.view().setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("東京"));
    QApplication::sendEvent(&frame.view(), &commit);
    EXPECT_EQ(prints(*frame.view().session().document()), "トーキョー*");
    EXPECT_TRUE(frame.paneText(kMessagePane).startsWith(QStringLiteral("漢字を点訳して入力しました。")))
        << frame.paneText(kMessagePane).toStdString();
    // Kana still go straight in; the kanji were one undo step.
    QInputMethodEvent kana;
    kana.setCommitString(QStringLiteral("へ"));
    QApplication::sendEvent(&frame.view(), &kana);
    EXPECT_EQ(prints(*frame.view().session().document()), "トーキョーへ*");
    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(prints(*frame.view().session().document()), "*");

    // Without the analyser's dictionary nothing is typed, and the message pane says why.
    qputenv("TENKORA_MECAB_DICDIR", "/nonexistent/dic");
    MainWindow bare(PageLayout{});
    bare.show();
    QApplication::sendEvent(&bare.view(), &commit);
    qunsetenv("TENKORA_MECAB_DICDIR");
    EXPECT_EQ(prints(*bare.view().session().document()), "*");
    EXPECT_TRUE(bare.paneText(kMessagePane).startsWith(QStringLiteral("漢字を点訳できないため入力しませんでした")))
        << bare.paneText(kMessagePane).toStdString();
    Prompts::setAnswers({.question = [](const QString&, int) { return int(QMessageBox::No); }});
}
