// Typing in the window with real events: input-method text, the mode keys, six-key chords,
// the clipboard and the symbol menu.

#include "EditorView.h"
#include "ViewMenus.h"
#include "ClipboardFormat.h"
#include "DocumentBuilder.h"
#include "GuiTestSupport.h"
#include "SymbolCommands.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using namespace braille;
using namespace braille::test;

namespace {

struct Typing {
    BrailleDocument document;
    EditorView view{PageLayout{22, 32}};

    Typing()
    {
        view.setDocument(&document);
        view.resize(800, 500);
        view.show();
        view.setFocus();
        QApplication::processEvents();
    }
    std::string cells() const
    {
        std::string out;
        const CharacterDictionary& d = CharacterDictionary::instance();
        for (const BrailleCharacter* e : flatCharacters(document))
            if (e != d.endMarkerEntry())
                out += e == d.lineBreakEntry() ? "|" : u8(e->nabcc);
        return out;
    }
    void inputMethod(const QString& commit, const QString& preedit = {})
    {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(&view, &event);
    }
};

} // namespace

TEST(WindowTyping, InputMethodTextGetsTheRulesAndPreeditIsOnlyShown)
{
    Typing t;
    t.inputMethod({}, QStringLiteral("にせん"));
    EXPECT_EQ(t.cells(), "");
    const QImage image = picture(*t.view.viewport());
    EXPECT_GT(countColour(image, image.rect(), QColor(255, 255, 224)), 50); // the pre-edit box
    t.inputMethod(QStringLiteral("２０２６ねん"));
    EXPECT_EQ(t.cells(), "#BJBFP0");
    EXPECT_EQ(t.view.session().pendingText(), u"");
}

TEST(WindowTyping, F2AtARowStartOpensAFormulaAndASecondF2TakesTheOpenerOut)
{
    Typing t;
    QTest::keyClick(&t.view, Qt::Key_F2);
    EXPECT_EQ(t.cells(), ";");
    EXPECT_FALSE(t.view.testAttribute(Qt::WA_InputMethodEnabled)); // no input method in MATH
    QTest::keyClick(&t.view, Qt::Key_F2);
    EXPECT_EQ(t.cells(), "");
    EXPECT_TRUE(t.view.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST(WindowTyping, ChordsAreTypedOnceWhateverTheReleaseOrder)
{
    Typing t;
    QTest::keyClick(&t.view, Qt::Key_F4);
    QTest::keyPress(&t.view, Qt::Key_F);
    QTest::keyPress(&t.view, Qt::Key_D);
    QTest::keyRelease(&t.view, Qt::Key_D);
    QTest::keyRelease(&t.view, Qt::Key_F);
    QTest::keyPress(&t.view, Qt::Key_D);
    QTest::keyPress(&t.view, Qt::Key_F);
    QTest::keyRelease(&t.view, Qt::Key_F);
    QTest::keyRelease(&t.view, Qt::Key_D);
    EXPECT_EQ(t.cells(), "BB");
    // A key held alone is typed when the chord's window of 100 ms has passed.
    QTest::keyPress(&t.view, Qt::Key_F);
    QTest::qWait(100);
    for (int i = 0; i < 100 && t.cells() != "BBA"; ++i) // the timer may be late on a busy machine
        QTest::qWait(20);
    EXPECT_EQ(t.cells(), "BBA");
    QTest::keyRelease(&t.view, Qt::Key_F);
    EXPECT_EQ(t.cells(), "BBA");
}

TEST(WindowClipboard, CopyAndPasteRoundTripThroughTheClipboard)
{
    Typing t;
    t.inputMethod(QStringLiteral("ａ"));
    QTest::keyClick(&t.view, Qt::Key_Return);
    t.inputMethod(QStringLiteral("ｂ"));
    QTest::keyClick(&t.view, Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&t.view, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QStringLiteral("application/x-tenkora-cells")));
    EXPECT_EQ(data->text(), QStringLiteral("ａ\nｂ"));
    QTest::keyClick(&t.view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&t.view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(t.cells(), "A|BA|B");
}

TEST(WindowClipboard, ALyingBlockAndTextFromOtherProgramsArePastedSafely)
{
    Typing t;
    // A block whose lengths claim more than it holds: what is whole goes in, nothing more.
    std::vector<std::uint8_t> block = unitsToBytes(serializeEntries({CharacterDictionary::instance().blankEntry()}));
    block.push_back(0xFF);
    block.push_back(0x7F);
    auto* lying = new QMimeData;
    lying->setData(QStringLiteral("application/x-tenkora-cells"),
                   QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
    QGuiApplication::clipboard()->setMimeData(lying);
    QTest::keyClick(&t.view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(t.cells(), " ");
    // Plain text from another program is typed in with the rules, and undone in one step.
    QGuiApplication::clipboard()->setText(QStringLiteral("３ねん"));
    QTest::keyClick(&t.view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(t.cells(), " #CP0");
    QTest::keyClick(&t.view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(t.cells(), " ");
}

TEST(WindowMenus, TheSymbolMenuOffersEveryCommand)
{
    QMenu menu;
    addSymbolMenu(menu);
    std::set<int> ids;
    std::vector<QMenu*> open{&menu};
    while (!open.empty()) {
        QMenu* m = open.back();
        open.pop_back();
        for (QAction* a : m->actions()) {
            if (a->menu())
                open.push_back(a->menu());
            else if (!a->isSeparator())
                ids.insert(a->data().toInt());
        }
    }
    ASSERT_EQ(ids.size(), symbolCommands().size());
    for (const SymbolCommand& command : symbolCommands())
        EXPECT_TRUE(ids.count(command.id)) << command.id;
    EXPECT_EQ(menu.actions().front()->text(), QStringLiteral("シンボル挿入"));
}

TEST(WindowTyping, ADoubleClickedCandidateIsTheOneTyped)
{
    Typing t;
    QTest::keyClick(&t.view, Qt::Key_F2);
    QTest::keyClicks(&t.view, "a");
    QListWidget* list = nullptr;
    for (QListWidget* l : t.view.findChildren<QListWidget*>())
        if (l->isVisible())
            list = l;
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count(), 2);
    const std::u16string second = t.view.session().modes().mathSystem().candidates().keys()[1];
    const QRect line = list->visualItemRect(list->item(1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_TRUE(t.view.hasFocus()); // the list never keeps the keyboard
    EXPECT_EQ(t.view.session().pendingText(), u"");
    const EntryList typed = flatCharacters(t.document);
    ASSERT_GE(typed.size(), 2u);
    const BrailleCharacter* expected =
        CharacterDictionary::longestMatch(CharacterDictionary::instance().printSet(kMathSet).bySource(), second).entry;
    EXPECT_EQ(typed[1], expected) << u8(second); // after the formula's opener
}
