// What a screen reader gets from the view: its text, caret, name and changes.

#include "CTenkoraView.h"
#include "CTenkoraViewAccessible.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace braille;
using namespace braille::test;


TEST(Accessibility, TheViewIsAnEditableTextThatFollowsTheCaretAndTheEdits)
{
    shippedDictionary();
    BrailleDocument document;
    fillSection(document, u"あい う\nかき");
    CTenkoraView view{PageLayout{22, 32}};
    view.setDocument(&document);
    view.resize(600, 400);
    view.show();
    view.setFocus();
    QApplication::processEvents();

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

    // The events need the platform's accessibility bus (the AT-SPI test hears them); here the
    // state they announce is checked.
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(text->cursorPosition(), 2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("か"));
    QApplication::sendEvent(&view, &commit);
    EXPECT_EQ(text->cursorPosition(), 3);
    EXPECT_EQ(text->textAtOffset(3, QAccessible::LineBoundary, &start, &end), QStringLiteral("あいか\u3000う\n"));
    EXPECT_EQ(text->textAtOffset(1, QAccessible::WordBoundary, &start, &end), QStringLiteral("あいか"));
    text->setCursorPosition(7); // the second row
    EXPECT_EQ(view.session().cursor().row(), 1u);

    QTest::keyClick(&view, Qt::Key_F2); // a mode switch renames the view
    EXPECT_EQ(object->text(QAccessible::Name), QStringLiteral("本文 MATH"));
}
