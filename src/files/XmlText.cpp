#include "XmlText.h"

namespace braille {

namespace {

bool escapes(char16_t c, unsigned which)
{
    switch (c) {
    case u'\r':
    case u'\uFEFF': return true;
    case u'&': return which & kEscapeAmp;
    case u'"': return which & kEscapeQuote;
    case u'<': return which & kEscapeLess;
    case u'>': return which & kEscapeMore;
    default: return false;
    }
}

// The code point of "#NNN" or "#xHHH" (without "&" and ";"), or 0 when it is not one that a
// reference may stand for.
char32_t numericReference(std::u16string_view body)
{
    if (body.size() < 2 || body[0] != u'#')
        return 0;
    unsigned base = 10;
    std::size_t i = 1;
    if (body[1] == u'x' || body[1] == u'X') {
        base = 16;
        i = 2;
    }
    if (i >= body.size() || body.size() - i > 8)
        return 0;
    char32_t value = 0;
    for (; i < body.size(); ++i) {
        const char16_t c = body[i];
        unsigned digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return 0;
        value = value * base + digit;
        if (value > 0x10FFFF)
            return 0;
    }
    if (value >= 0xD800 && value <= 0xDFFF)
        return 0;
    return value;
}

void appendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(char16_t(cp));
    } else {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    }
}

// The longest reference is "&#x10FFFF;" or "&#1114111;" (ten code units).
constexpr std::size_t kLongestReference = 10;

} // namespace

void appendEscaped(std::u16string& out, std::u16string_view text, unsigned which)
{
    for (char16_t c : text) {
        if (!escapes(c, which)) {
            out.push_back(c);
            continue;
        }
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'"': out += u"&quot;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'\r': out += u"&#13;"; break;
        default: out += u"&#xFEFF;"; break;
        }
    }
}

bool needsEscape(std::u16string_view text, unsigned which)
{
    for (char16_t c : text)
        if (escapes(c, which))
            return true;
    return false;
}

std::u16string decodeReferences(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find(u'&', i);
        if (amp == std::u16string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        i = amp + 1;
        const std::size_t semi = text.substr(i, kLongestReference).find(u';');
        if (semi == std::u16string_view::npos) {
            out.push_back(u'&');
            continue;
        }
        const std::u16string_view body = text.substr(i, semi);
        char32_t cp = 0;
        if (body == u"amp")
            cp = u'&';
        else if (body == u"lt")
            cp = u'<';
        else if (body == u"gt")
            cp = u'>';
        else if (body == u"quot")
            cp = u'"';
        else if (body == u"apos")
            cp = u'\'';
        else
            cp = numericReference(body);
        if (cp == 0) {
            out.push_back(u'&');
            continue;
        }
        appendCodePoint(out, cp);
        i += semi + 1;
    }
    return out;
}


} // namespace braille
