// The main of the Qt-layer tests: the real widgets, drawn off screen, with the shipped tables
// and fonts, and settings kept in a folder of their own.

#include "Application.h"
#include "EditorViewAccessible.h"
#include "GuiTestSupport.h"
#include "Prompts.h"
#include "TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Every test starts with prompts that nobody expects: a test that meets one it did not answer
// fails, saying what was asked, instead of waiting for a user who is not there (and answers a
// test set never outlive it).
class UnexpectedPrompts : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        braille::Prompts::setAnswers({
            .question = [](const QString& text, int) {
                ADD_FAILURE() << "unexpected question: " << text.toStdString();
                return int(QMessageBox::Cancel);
            },
            .openName = [](const QString&, const QString&) {
                ADD_FAILURE() << "unexpected file dialog";
                return QString();
            },
            .saveName = [](const QString&, const QString&, const QString&) {
                ADD_FAILURE() << "unexpected file dialog";
                return QString();
            },
            .message = [](const QString& text) { ADD_FAILURE() << "unexpected message: " << text.toStdString(); },
            .choice = [](const QString& text, const QStringList&) {
                ADD_FAILURE() << "unexpected question: " << text.toStdString();
                return -1;
            },
        });
    }
    void OnTestEnd(const ::testing::TestInfo& info) override { OnTestStart(info); }
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // A runtime folder of this process's own (link-mode sockets and work files), whatever the
    // caller's is, so tests that run side by side never meet there; a recovery child shares its
    // parent's.
    std::string runtime = std::filesystem::temp_directory_path() / "tenkora-runtime-XXXXXX";
    const bool ownRuntime = !std::getenv("TENKORA_RECOVERY_CHILD") && mkdtemp(runtime.data());
    if (ownRuntime)
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QTemporaryDir config;
    // A child process of the recovery test keeps the settings its parent gave it.
    if (!std::getenv("TENKORA_RECOVERY_CHILD"))
        setenv("TENKORA_CONFIG_DIR", config.path().toLocal8Bit().constData(), 1);
    // Recovery copies of the tests stay in the tests' own folder, never the user's.
    if (!std::getenv("TENKORA_RECOVERY_CHILD")) {
        setenv("XDG_STATE_HOME", config.path().toLocal8Bit().constData(), 1);
        unsetenv("TENKORA_STATE_DIR");
    }
    // No braille display driver unless a test loads its own.
    setenv("TENKORA_DISPLAY_DRIVER", "", 1);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedPrompts);
    braille::EditorViewAccessible::install();
    QApplication app(argc, argv);
    braille::test::shippedDictionary();
    braille::loadCellFont();
    if (const char* book = std::getenv("TENKORA_RECOVERY_CHILD"))
        return braille::test::runRecoveryChild(book);
    const int result = RUN_ALL_TESTS();
    if (ownRuntime) {
        std::error_code ec;
        std::filesystem::remove_all(runtime, ec);
    }
    return result;
}
