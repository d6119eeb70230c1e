// What a screen reader gets from the view: its text, caret, name and changes.

#include "EditorView.h"
#include "EditorViewAccessible.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;

namespace {

// A view with the focus on a document of `body`.
struct ShownView {
    BrailleDocument document;
    EditorView view{PageLayout{22, 32}};

    explicit ShownView(std::u16string_view body)
    {
        shippedDictionary();
        fillSection(document, body);
        view.setDocument(&document);
        view.resize(600, 400);
        view.show();
        view.setFocus();
        QApplication::processEvents();
    }
};

} // namespace

TEST(Accessibility, TheViewIsAnEditableTextThatFollowsTheCaretAndTheEdits)
{
    ShownView shown(u"あい う\nかき");
    EditorView& view = shown.view;

    QAccessibleInterface* object = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->role(), QAccessible::EditableText);
    EXPECT_EQ(object->text(QAccessible::Name), QStringLiteral("本文 TEXT"));
    QAccessibleTextInterface* text = object->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->cursorPosition(), 0);
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(0, QAccessible::LineBoundary, &start, &end), QStringLiteral("あい\u3000う\n"));
    EXPECT_EQ(text->attributes(0, &start, &end), QStringLiteral("braille-dots:1;braille-set:text"));

    // What the view announces, caught in this process as the platform's bridge would get it (the
    // AT-SPI test hears the same over the real bus where one can start).
    QStringList heard;
    heard.clear();
    EditorViewAccessible::setListener([&heard](QAccessibleEvent* event) {
        switch (event->type()) {
        case QAccessible::TextCaretMoved:
            heard << QStringLiteral("caret %1").arg(static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition());
            break;
        case QAccessible::TextInserted: {
            auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
            heard << QStringLiteral("insert %1 %2").arg(e->changePosition()).arg(e->textInserted());
            break;
        }
        case QAccessible::TextRemoved: {
            auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
            heard << QStringLiteral("remove %1 %2").arg(e->changePosition()).arg(e->textRemoved());
            break;
        }
        case QAccessible::NameChanged: heard << QStringLiteral("name"); break;
        default: break;
        }
    });
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(text->cursorPosition(), 2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("か"));
    QApplication::sendEvent(&view, &commit);
    EXPECT_EQ(text->cursorPosition(), 3);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    QApplication::processEvents();
    heard.removeAll(QStringLiteral("name")); // the first announcement also gives the name
    EXPECT_EQ(heard, (QStringList{QStringLiteral("caret 1"), QStringLiteral("caret 2"), QStringLiteral("insert 2 か"),
                                  QStringLiteral("caret 3"), QStringLiteral("remove 2 か"), QStringLiteral("caret 2"),
                                  QStringLiteral("insert 2 か"), QStringLiteral("caret 3")}))
        << heard.join(u'|').toStdString();
    EXPECT_EQ(text->textAtOffset(3, QAccessible::LineBoundary, &start, &end), QStringLiteral("あいか\u3000う\n"));
    EXPECT_EQ(text->textAtOffset(1, QAccessible::WordBoundary, &start, &end), QStringLiteral("あいか"));
    text->setCursorPosition(7); // the second row
    EXPECT_EQ(view.session().cursor().row(), 1u);

    heard.clear();
    QTest::keyClick(&view, Qt::Key_F2); // a mode switch renames the view
    QApplication::processEvents();
    EXPECT_EQ(object->text(QAccessible::Name), QStringLiteral("本文 MATH"));
    EXPECT_TRUE(heard.contains(QStringLiteral("name"))) << heard.join(u'|').toStdString();
    EditorViewAccessible::setListener({});
}

TEST(Accessibility, ASignWithoutPrintIsHeardByItsNameAndTheScreenStaysAsItWas)
{
    // Typing "１あ" puts the number sign before "１" and a connector before "あ": a screen reader
    // moving onto them gets their names, the whole name as one character, and hears them come.
    ShownView shown(u"か");
    EditorView& view = shown.view;
    BrailleDocument& document = shown.document;
    QStringList inserted;
    EditorViewAccessible::setListener([&inserted](QAccessibleEvent* event) {
        if (event->type() == QAccessible::TextInserted)
            inserted << static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
    });
    QTest::keyClick(&view, Qt::Key_Right);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("１あ"));
    QApplication::sendEvent(&view, &commit);
    QApplication::processEvents();
    EditorViewAccessible::setListener({});
    EXPECT_EQ(test::prints(document, false), "か\uE003１\uE00Dあ"); // what the screen shows
    // Each sign the rules put in is heard as its name.
    EXPECT_TRUE(inserted.contains(QStringLiteral("数符"))) << inserted.join(u'|').toStdString();
    EXPECT_TRUE(inserted.contains(QStringLiteral("つなぎ符"))) << inserted.join(u'|').toStdString();

    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&view)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 9);
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(0, QAccessible::LineBoundary, &start, &end), QStringLiteral("か数符１つなぎ符あ"));
    view.session().cursor().goTo(0, 1);
    EXPECT_EQ(text->cursorPosition(), 1);
    EXPECT_EQ(text->textAtOffset(text->cursorPosition(), QAccessible::CharBoundary, &start, &end), QStringLiteral("数符"));
    EXPECT_EQ(std::pair(start, end), std::pair(1, 3));
    EXPECT_EQ(text->textAfterOffset(1, QAccessible::CharBoundary, &start, &end), QStringLiteral("１"));
    EXPECT_EQ(text->textAfterOffset(3, QAccessible::CharBoundary, &start, &end), QStringLiteral("つなぎ符"));
    EXPECT_EQ(text->attributes(5, &start, &end), QStringLiteral("braille-dots:3-6;braille-set:text"));
    EXPECT_EQ(std::pair(start, end), std::pair(4, 8));
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(text->cursorPosition(), 4); // on the connector
}
