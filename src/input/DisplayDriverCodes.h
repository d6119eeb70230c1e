#pragma once
// What passes between the editor and a braille display's driver library: the key codes the
// driver reports and what each stands for, the row bytes it is given to show, and the port
// number read from a serial device's name. Qt-free, so the window's display link only loads the
// library and runs the poll thread.

#include <string>
#include <string_view>

namespace braille {

// The cursor-routing keys' codes. The key over cell c of the row (counted from 0) sends
// kRoutingCodeFirst + c, but that range stops at cell 46 (3201..3247) while a line may be 100
// cells. kWideRoutingCodeFirst + c (3401..3500) names every cell up to 99; a driver that shows a
// long row window by window (the BRLTTY bridge) sends these. Both ranges stay valid and mean the
// same cells; the codes between them mean nothing.
constexpr int kRoutingCodeFirst = 3201;
constexpr int kRoutingCodeLast = 3247;
constexpr int kWideRoutingCodeFirst = 3401;
constexpr int kWideRoutingCodeLast = 3500;

struct DisplayDriverKey {
    enum Kind {
        None,    // a code the editor ignores (or "no key waiting")
        Cell,    // a typed cell: `value` is its NABCC character, typed as from the display
        Routing, // a cursor-routing key: `value` is the editor's key for it (vk::FirstRoutingKey + cell)
        Key,     // one of the display's function keys: `value` is the ordinary key it stands for
    };
    Kind kind = None;
    int value = 0;
};

DisplayDriverKey translateDisplayDriverKey(int code);

// The longest byte string handed to the driver's print call, its terminating zero excluded.
constexpr std::size_t kDisplayRowBytes = 199;

// A row's NABCC cells as the bytes the driver shows: one byte a cell, anything that is no cell
// shown as a blank, cut at kDisplayRowBytes however long the row is.
std::string displayRowBytes(std::u16string_view nabcc);

// The number at the end of a serial device's name ("/dev/ttyUSB3" is 3), or -1 without one.
int displayPortFromDeviceName(std::string_view name);

} // namespace braille
