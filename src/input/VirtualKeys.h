#pragma once
// Key codes of the input systems: the Windows virtual-key numbers, so that the key codes of the
// braille display and its cursor-routing codes pass through unchanged. The window layer maps its
// own key events to these numbers before it calls an input system.

#include <cstdint>

namespace braille::vk {

constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Alt = 0x12; // the Menu key of the window system's numbering
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int PageUp = 0x21;
constexpr int PageDown = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int Apps = 0x5D; // the context-menu key
constexpr int F1 = 0x70;
constexpr int F2 = 0x71;
constexpr int F3 = 0x72;
constexpr int F4 = 0x73;
constexpr int F5 = 0x74;
constexpr int F6 = 0x75;
constexpr int F7 = 0x76;
constexpr int F8 = 0x77;
constexpr int F9 = 0x78;
// A punctuation key (the first of the OEM keys): a code no input system acts on; its character
// arrives as typed text.
constexpr int Punctuation = 0xBA;

// Cursor-routing keys of the braille display: the key over cell c of the line is 3201 + c, for
// every cell of a line of up to 100 (the driver's codes are mapped to these in
// DisplayDriverCodes.h).
constexpr int FirstRoutingKey = 3201;
constexpr int LastRoutingKey = 3300;

// Key flags, as the window system gives them with a key (the high word of its key message):
// bit 14 is set when the key was already down, i.e. for auto-repeat.
constexpr std::uint32_t RepeatFlag = 0x4000;
// Set by the window layer when Control is held at the time of the key. The core cannot ask the
// keyboard itself, so this stands for sampling the Control key at every key-down.
constexpr std::uint32_t ControlHeldFlag = 0x10000;

} // namespace braille::vk
