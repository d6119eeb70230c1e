// The display's port among the serial devices, and what the BRLTTY bridge makes of BRLTTY's keys
// and of a row longer than the display.

#include "BrailleDisplayLink.h"
#include "BrlapiKeys.h"

#define BRLAPI_NO_DEPRECATED
#define BRLAPI_NO_SINGLE_SESSION
#include <brlapi.h>

#include <gtest/gtest.h>

using namespace braille;

TEST(DisplayPort, TheLowestPortWithTheDisplaysIdsWins)
{
    const SerialDevice other{true, 0x0403, 0x6001, QStringLiteral("/dev/ttyUSB1")};
    const SerialDevice display7{true, 0x1148, 0x0001, QStringLiteral("/dev/ttyUSB7")};
    const SerialDevice display3{true, 0x1148, 0x0001, QStringLiteral("/dev/ttyACM3")};
    const SerialDevice noIds{false, 0, 0, QStringLiteral("/dev/ttyS0")};
    EXPECT_EQ(displayPortAmong({other, display7, noIds}), 7);
    EXPECT_EQ(displayPortAmong({display7, display3}), 3);
    EXPECT_EQ(displayPortAmong({other, noIds}), -1);
}

TEST(DisplayBridge, BrlttyKeysBecomeTheEditorsKeyCodes)
{
    using bridge::editorKeyCode;
    // Routing keys count from the first cell of the row, not of the display's window.
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 2, 0), 3203);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 2, 40), 3243);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 9, 40), 0); // past 3247
    // Typed dots, however the server passes them: dots 1-2-4-6 is the cell "$".
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS | 0x2B, 0), '$');
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_SYM | BRLAPI_KEY_SYM_UNICODE | 0x282B, 0), '$');
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_SYM | 'b', 0), 'B');
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_SYM | ' ', 0), ' ');
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS | BRLAPI_DOT7, 0), 519);
    // Movement and keyboard keys.
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_LNDN, 0), 510);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_SYM | BRLAPI_KEY_SYM_LINEFEED, 0), 501);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_SYM | (BRLAPI_KEY_SYM_FUNCTION + 1), 0), 530);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_HOME, 0), 0);
}

TEST(DisplayBridge, ALongRowShowsTheWindowWithTheCaret)
{
    const std::string row(50, 'A');
    EXPECT_EQ(bridge::windowStart(50, 45, 40), 40);
    EXPECT_EQ(bridge::windowStart(50, 0, 40), 40); // after the last cell
    const auto dots = bridge::windowDots(row, 45, 40, 40);
    ASSERT_EQ(dots.size(), 40u);
    EXPECT_EQ(dots[4], 0x01 | BRLAPI_DOT7 | BRLAPI_DOT8);
    EXPECT_EQ(dots[9], 0x01);
    EXPECT_EQ(dots[10], 0x00);
}
