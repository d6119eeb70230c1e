// The main of the Qt-layer tests: the real widgets, drawn off screen, with the shipped tables
// and fonts, and settings kept in a folder of their own.

#include "CTenkoraApp.h"
#include "CTenkoraViewAccessible.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a private runtime folder; a fresh one keeps it quiet.
    char runtime[] = "/tmp/tenkora-runtime-XXXXXX";
    if (!std::getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime))
        setenv("XDG_RUNTIME_DIR", runtime, 1);
    QTemporaryDir config;
    // A child process of the recovery test keeps the settings its parent gave it.
    if (!std::getenv("TENKORA_RECOVERY_CHILD"))
        setenv("TENKORA_CONFIG_DIR", config.path().toLocal8Bit().constData(), 1);
    // Recovery copies of the tests stay in the tests' own folder.
    if (!std::getenv("TENKORA_RECOVERY_CHILD"))
        setenv("XDG_STATE_HOME", config.path().toLocal8Bit().constData(), 1);
    // No braille display driver unless a test loads its own.
    setenv("TENKORA_DISPLAY_DRIVER", "", 1);
    ::testing::InitGoogleTest(&argc, argv);
    braille::CTenkoraViewAccessible::install();
    QApplication app(argc, argv);
    braille::test::shippedDictionary();
    braille::loadCellFont();
    if (const char* book = std::getenv("TENKORA_RECOVERY_CHILD"))
        return braille::test::runRecoveryChild(book);
    return RUN_ALL_TESTS();
}
