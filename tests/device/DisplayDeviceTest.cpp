// The display's port among the serial devices, and what the BRLTTY bridge makes of BRLTTY's keys
// and of a row longer than the display.

#include "BrailleDisplayLink.h"
#include "BrlapiKeys.h"
#include "DisplayDriverCodes.h"
#include "VirtualKeys.h"

#define BRLAPI_NO_DEPRECATED
#define BRLAPI_NO_SINGLE_SESSION
#include <brlapi.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

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
    // Routing keys count from the first cell of the row, not of the display's window, and use the
    // wide codes, so that the second window of a 40-cell display reaches cells past 46.
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 2, 0), 3403);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 9, 40), 3450);
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 19, 80), 3500); // cell 99
    EXPECT_EQ(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 20, 80), 0);    // past the line
    // The editor takes them as the cells they name, as it takes the codes of before.
    const DisplayDriverKey wide = translateDisplayDriverKey(editorKeyCode(BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE | 9, 40));
    EXPECT_EQ(wide.kind, DisplayDriverKey::Routing);
    EXPECT_EQ(wide.value, vk::FirstRoutingKey + 49);
    EXPECT_EQ(translateDisplayDriverKey(3205).value, vk::FirstRoutingKey + 4);
    EXPECT_EQ(translateDisplayDriverKey(3403).value, translateDisplayDriverKey(3203).value);
    EXPECT_EQ(translateDisplayDriverKey(3248).kind, DisplayDriverKey::None);
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

TEST(DisplayBridge, AServerThatNeverAnswersDoesNotHoldUpTheWindow)
{
    // A port that accepts connections and never speaks, where BRLAPI_HOST points: BrlAPI alone
    // would wait for the system's timeout at every retry, on the window's thread.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int offset = -1;
    for (int n = 70; n < 200 && offset < 0; ++n) {
        address.sin_port = htons(std::uint16_t(4101 + n));
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            offset = n;
    }
    ASSERT_GE(offset, 0);
    ASSERT_EQ(listen(listener, 4), 0);
    setenv("BRLAPI_HOST", ("127.0.0.1:" + std::to_string(offset)).c_str(), 1);

    void* bridge = dlopen(TENKORA_DISPLAY_BRIDGE, RTLD_NOW);
    ASSERT_NE(bridge, nullptr) << dlerror();
    const auto init = reinterpret_cast<int (*)(int, int, int)>(dlsym(bridge, "brldvc_init"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(init(-1, 3, 7), 0);
    EXPECT_EQ(init(-1, 3, 7), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    dlclose(bridge);
    unsetenv("BRLAPI_HOST");
    close(listener);
}
