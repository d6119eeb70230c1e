#pragma once
// What the display bridge makes of BRLTTY's keys and how it fits a row onto the display.
// Separate from the connection so that both can be tested without a server.

#include <cstdint>
#include <string_view>
#include <vector>

namespace braille::bridge {

// The editor's key code for a BrlAPI key in command mode: a typed dot pattern is its NABCC cell
// (32..95), routing key n of the display is 3401 + windowStart + n (the wide routing codes of
// DisplayDriverCodes.h, cells up to 99), keyboard and movement commands are 501..531; 0 for
// anything else.
int editorKeyCode(std::uint64_t brlapiKey, int windowStart);

// The first cell of the row shown on a display `width` cells wide: the window that holds the
// caret (counted from 1; 0 means after the row's last cell).
int windowStart(int rowLength, int caretCell, int width);

// The dots of the `width` cells from `start` (ISO 11548-1 bytes), dots 7 and 8 marking the caret.
std::vector<unsigned char> windowDots(std::string_view cells, int caretCell, int start, int width);

} // namespace braille::bridge
