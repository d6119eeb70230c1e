#include "BrlapiKeys.h"

#include "Cells.h"
#include "DisplayDriverCodes.h"

#define BRLAPI_NO_DEPRECATED
#define BRLAPI_NO_SINGLE_SESSION
#include <brlapi.h>

namespace braille::bridge {

namespace {

constexpr unsigned char kCaretDots = BRLAPI_DOT7 | BRLAPI_DOT8;

int dotsCode(int dots)
{
    if (dots & BRLAPI_DOTC)
        return (dots & 0xFF) == 0 ? ' ' : 0; // space chords are the display's own commands
    if ((dots & 0xFF) == BRLAPI_DOT7)
        return 519; // dot 7 alone: Backspace
    if ((dots & 0xFF) == BRLAPI_DOT8)
        return 501; // dot 8 alone: Enter
    return int(dotsToCell(dots & 0x3F));
}

int commandCode(std::uint64_t command, int argument, int start)
{
    switch (command) {
    case BRLAPI_KEY_CMD_ROUTE: {
        // The wide range: a key in a later window of a long row names a cell past 46.
        const int code = kWideRoutingCodeFirst + start + argument;
        return code <= kWideRoutingCodeLast ? code : 0;
    }
    case BRLAPI_KEY_CMD_PASSDOTS: return dotsCode(argument);
    default: break;
    }
    // The basic commands are block 0, told apart by their argument.
    switch (command | std::uint64_t(argument)) {
    case BRLAPI_KEY_CMD_LNUP: return 509;
    case BRLAPI_KEY_CMD_LNDN: return 510;
    case BRLAPI_KEY_CMD_CHRLT: return 511;
    case BRLAPI_KEY_CMD_CHRRT: return 512;
    default: return 0;
    }
}

int symbolCode(std::uint64_t symbol)
{
    // Dots kept as dots (the connection asks for that) come as Unicode braille patterns.
    constexpr std::uint64_t kBraillePatterns = BRLAPI_KEY_SYM_UNICODE | 0x2800;
    if (symbol >= kBraillePatterns && symbol <= kBraillePatterns + 0xFF)
        return dotsCode(int(symbol - kBraillePatterns));
    // A server that turns dots into characters of its text table: read them as Braille ASCII,
    // the table the editor's cells are written in (letters in either case).
    if (symbol >= 0x20 && symbol <= 0x7E)
        return int(symbol >= 0x60 ? symbol - 0x20 : symbol);
    switch (symbol) {
    case BRLAPI_KEY_SYM_LINEFEED: return 501;
    case BRLAPI_KEY_SYM_UP: return 509;
    case BRLAPI_KEY_SYM_DOWN: return 510;
    case BRLAPI_KEY_SYM_LEFT: return 511;
    case BRLAPI_KEY_SYM_RIGHT: return 512;
    case BRLAPI_KEY_SYM_DELETE: return 516;
    case BRLAPI_KEY_SYM_INSERT: return 517;
    case BRLAPI_KEY_SYM_BACKSPACE: return 519;
    case BRLAPI_KEY_SYM_ESCAPE: return 520;
    case BRLAPI_KEY_SYM_FUNCTION + 1: return 530; // F2
    case BRLAPI_KEY_SYM_FUNCTION + 2: return 531; // F3
    default: return 0;
    }
}

} // namespace

int editorKeyCode(std::uint64_t key, int start)
{
    const std::uint64_t code = key & BRLAPI_KEY_CODE_MASK;
    if ((key & BRLAPI_KEY_TYPE_MASK) == BRLAPI_KEY_TYPE_SYM)
        return (key & BRLAPI_KEY_FLAGS_MASK) ? 0 : symbolCode(code);
    return commandCode(code & BRLAPI_KEY_CMD_BLK_MASK, int(code & BRLAPI_KEY_CMD_ARG_MASK), start);
}

int windowStart(int rowLength, int caretCell, int width)
{
    if (width <= 0)
        return 0;
    const int caretIndex = caretCell > 0 ? caretCell - 1 : rowLength;
    return caretIndex / width * width;
}

std::vector<unsigned char> windowDots(std::string_view cells, int caretCell, int start, int width)
{
    std::vector<unsigned char> dots(std::size_t(std::max(width, 0)), 0);
    const int caretIndex = caretCell > 0 ? caretCell - 1 : int(cells.size());
    for (int i = 0; i < width; ++i) {
        const std::size_t at = std::size_t(start + i);
        if (at < cells.size()) {
            const int mask = cellToDots(char16_t(static_cast<unsigned char>(cells[at])));
            dots[std::size_t(i)] = static_cast<unsigned char>(mask < 0 ? 0 : mask);
        }
        if (start + i == caretIndex)
            dots[std::size_t(i)] |= kCaretDots;
    }
    return dots;
}

} // namespace braille::bridge
