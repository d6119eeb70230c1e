#include "DisplayDriverCodes.h"

#include "VirtualKeys.h"

#include <algorithm>

namespace braille {

static_assert(vk::LastRoutingKey - vk::FirstRoutingKey >= kWideRoutingCodeLast - kWideRoutingCodeFirst,
              "the editor routes every cell a driver can name");

DisplayDriverKey translateDisplayDriverKey(int code)
{
    using K = DisplayDriverKey;
    if (code >= 0x20 && code <= 0x5F)
        return {K::Cell, code};
    if (code >= kRoutingCodeFirst && code <= kRoutingCodeLast)
        return {K::Routing, vk::FirstRoutingKey + (code - kRoutingCodeFirst)};
    if (code >= kWideRoutingCodeFirst && code <= kWideRoutingCodeLast)
        return {K::Routing, vk::FirstRoutingKey + (code - kWideRoutingCodeFirst)};
    switch (code) {
    case 501: case 502: case 503: case 513: return {K::Key, vk::Return};
    case 504: return {K::Key, vk::Space};
    case 505: case 506: case 514: return {K::Key, vk::Shift};
    case 507: return {K::Key, vk::Control};
    case 509: return {K::Key, vk::Up};
    case 510: return {K::Key, vk::Down};
    case 511: return {K::Key, vk::Left};
    case 512: return {K::Key, vk::Right};
    case 516: return {K::Key, vk::Delete};
    case 517: return {K::Key, vk::Insert};
    case 519: return {K::Key, vk::Back};
    case 520: return {K::Key, vk::Escape};
    case 530: return {K::Key, vk::F2};
    case 531: return {K::Key, vk::F3};
    default: return {};
    }
}

std::string displayRowBytes(std::u16string_view nabcc)
{
    std::string bytes;
    bytes.reserve(std::min(nabcc.size(), kDisplayRowBytes));
    for (char16_t c : nabcc) {
        if (bytes.size() == kDisplayRowBytes)
            break;
        bytes.push_back(c >= 0x20 && c <= 0x5F ? char(c) : ' ');
    }
    return bytes;
}

int displayPortFromDeviceName(std::string_view name)
{
    std::size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9')
        --start;
    if (start == name.size() || name.size() - start > 6)
        return -1;
    int port = 0;
    for (char c : name.substr(start))
        port = port * 10 + (c - '0');
    return port;
}

} // namespace braille
