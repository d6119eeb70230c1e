#include "DisplayKeyboard.h"

#include <string_view>

namespace braille {

namespace {
constexpr char16_t kEndOfRows = 255;
constexpr std::u16string_view kIndicators = u"#,-08;";
} // namespace

struct DisplayKeyboard::Row {
    char16_t key; // 0 for any character that is neither the blank nor an indicator
    SetNumber set;
    const State* next; // null: stay
};

struct DisplayKeyboard::State {
    const char* name;
    Row rows[8];
};

namespace {
using State = DisplayKeyboard::State;
// Declared first: the states point at each other.
extern const State T, Tnum, T8, T8c, T8cc, Tsemi, Tsemic, Tsemicc, M, Mnum, Msemi, Msemic;

// T is the TEXT start state, M the MATH start state. "#" the number sign, ";" the foreign-letter
// sign, "," the capital sign (",," double capitals), "8" the foreign-quotation opener and "0" its
// closer, "-" the connector that ends a number.
const State T{"T", {{0, 6, nullptr}, {u' ', 0, nullptr}, {u'#', 4, &Tnum}, {u'8', 4, &T8}, {u';', 4, &Tsemi},
                        {kEndOfRows, 0, nullptr}}};
const State Tnum{"T#", {{0, 7, nullptr}, {u' ', 6, &T}, {u'-', 4, &T}, {kEndOfRows, 0, nullptr}}};
const State T8{"T8", {{0, 8, nullptr}, {u' ', 8, nullptr}, {u',', 9, &T8c}, {u'0', 4, &T}, {kEndOfRows, 0, nullptr}}};
const State T8c{"T8,", {{0, 8, &T8}, {u' ', 8, &T8}, {u',', 9, &T8cc}, {kEndOfRows, 0, nullptr}}};
const State T8cc{"T8,,", {{0, 9, nullptr}, {u' ', 8, &T8}, {kEndOfRows, 0, nullptr}}};
const State Tsemi{"T;", {{0, 8, nullptr}, {u' ', 6, &T}, {u',', 9, &Tsemic}, {kEndOfRows, 0, nullptr}}};
const State Tsemic{"T;,", {{0, 9, nullptr}, {u' ', 6, &T}, {u',', 9, &Tsemicc}, {kEndOfRows, 0, nullptr}}};
const State Tsemicc{"T;,,", {{0, 9, nullptr}, {u' ', 6, &T}, {kEndOfRows, 0, nullptr}}};
const State M{"M", {{0, 10, nullptr}, {u' ', 0, nullptr}, {u'#', 4, &Mnum}, {u';', 4, &Msemi}, {kEndOfRows, 0, nullptr}}};
const State Mnum{"M#", {{0, 11, nullptr}, {u' ', 10, &M}, {u'-', 4, &M}, {kEndOfRows, 0, nullptr}}};
const State Msemi{"M;", {{0, 12, nullptr}, {u' ', 10, &M}, {u',', 13, &Msemic}, {kEndOfRows, 0, nullptr}}};
const State Msemic{"M;,", {{0, 13, nullptr}, {u' ', 10, &M}, {kEndOfRows, 0, nullptr}}};
} // namespace

DisplayKeyboard::DisplayKeyboard() : m_state(&T) {}

void DisplayKeyboard::startText() { m_state = &T; }
void DisplayKeyboard::startMath() { m_state = &M; }

const char* DisplayKeyboard::stateName() const { return m_state->name; }

bool DisplayKeyboard::classify(char16_t c)
{
    const bool indicator = kIndicators.find(c) != std::u16string_view::npos;
    const char16_t cls = (c == u' ' || indicator) ? c : 0;
    for (const Row* row = m_state->rows; row->key != kEndOfRows; ++row) {
        if (row->key != cls)
            continue;
        m_class = cls;
        m_set = row->set;
        if (row->next)
            m_state = row->next;
        return indicator;
    }
    // A blank or indicator the state does not list changes nothing.
    m_class = 0;
    return false;
}

} // namespace braille
