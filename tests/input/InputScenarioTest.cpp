// Scenarios: a key script sent to the input systems from an initial document must give the
// expected rows and caret.
//
// Script notation: <Key> presses a key (BS Del Enter Space Left Right Up Down Home End F2 F4,
// S-Left and S-Right with Shift held, Undo and Redo for the commands); [text] is one result
// string committed by the input method; {n} is a six-key chord with dot mask n; any other
// character is typed into the active input system as it is.

#include "InputFixture.h"
#include "PageLayout.h"
#include "Utf.h"
#include "VirtualKeys.h"

#include <map>

namespace braille::test {
namespace {

struct Scenario {
    const char* name;
    std::uint32_t columns;
    std::u16string_view initial; // DocumentBuilder notation, as is the dump; the caret starts at the end
    std::u16string_view script;
    const char* rows;            // dumpRows, then the caret as "@column,row"
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

const Scenario kScenarios[] = {
    {"DateInText", 32, u"", u"きょうは　２０２６ねん　５がつ　１０かです。",
     "きょうは_\uE003２０２６ねん_\uE003５がつ_\uE003１０かです。__*|31\n@30,0"},
    {"RetypedDigitKeepsOneSign", 32, u"", u"１２<Left><BS>３", "\uE003３２*|4\n@2,0"},
    {"NumberWithCommaAndUnit", 32, u"", u"１，０００えん", "\uE003１，０００\uE00Dえん*|10\n@9,0"},
    {"ForeignLetterAfterNumber", 32, u"", u"３ａ", "\uE003３\uE01Ba*|5\n@4,0"},
    {"ConnectorAfterNumber", 32, u"", u"５あ", "\uE003５\uE00Dあ*|5\n@4,0"},
    {"UndoTheConnector", 32, u"", u"５あ<Undo>", "\uE003５あ*|4\n@2,0"},
    {"MathKeysAndNewLine", 32, u"", u"<F2>x<Enter>+1<Enter>2",
     "\uE01Bx＋\uE003１$|6\n\uE01B\uE003２*|4\n@3,1"},
    {"MathLeftRightAway", 32, u"あ ", u"<F2><F2>い", "あ_い*|4\n@3,0"},
    {"ChordsOverText", 32, u"", u"あ<F4>{60}{1}<F4>い", "あ\uE003\uE021い*|5\n@4,0"},
    {"TypingReplacesTheSelection", 32, u"あいう", u"<Home><S-Right><S-Right>か", "かう*|3\n@1,0"},
    {"FullStopWrapsTheWord", 8, u"あいうえお かき", u"。く", "あいうえお_|6\nかき。__く*|7\n@6,1"},
    {"NumberSignWrapsTheWord", 8, u"あいうえお かきく", u"１", "あいうえお_|6\nかきく\uE003１*|6\n@5,1"},
};

class InputScenario : public InputFixture, public ::testing::WithParamInterface<Scenario> {
protected:
    void run(std::u16string_view script)
    {
        static const std::map<std::u16string, std::pair<int, char16_t>> keys = {
            {u"BS", {vk::Back, 8}},        {u"Del", {vk::Delete, 0}},   {u"Enter", {vk::Return, u'\r'}},
            {u"Space", {vk::Space, u' '}}, {u"Left", {vk::Left, 0}},    {u"Right", {vk::Right, 0}},
            {u"Up", {vk::Up, 0}},          {u"Down", {vk::Down, 0}},    {u"Home", {vk::Home, 0}},
            {u"End", {vk::End, 0}},
        };
        for (std::size_t i = 0; i < script.size(); ++i) {
            const char16_t c = script[i];
            const auto close = script.find(c == u'<' ? u'>' : c == u'[' ? u']' : u'}', i);
            if ((c == u'<' || c == u'[' || c == u'{') && close != std::u16string_view::npos) {
                const std::u16string inner(script.substr(i + 1, close - i - 1));
                i = close;
                if (c == u'[') {
                    commit(inner);
                } else if (c == u'{') {
                    modes.active().chord(std::stoi(toUtf8(inner)));
                } else if (inner == u"F2") {
                    modes.toggleTextMath();
                } else if (inner == u"F4") {
                    modes.toggleBraille();
                } else if (inner == u"Undo") {
                    undo.undo();
                } else if (inner == u"Redo") {
                    undo.redo();
                } else if (inner.starts_with(u"S-")) {
                    modes.active().keyDown(vk::Shift, 1, 0);
                    press(keys.at(inner.substr(2)).first);
                    modes.active().keyUp(vk::Shift, 1, 0);
                } else {
                    const auto [key, character] = keys.at(inner);
                    press(key, character);
                }
            } else {
                type(std::u16string_view(&c, 1));
            }
            checkDocument();
        }
    }
};

TEST_P(InputScenario, GivesTheExpectedRows)
{
    const Scenario& s = GetParam();
    pageLayout().ColumnNumber = s.columns;
    load(s.initial);
    toEnd();
    run(s.script);
    EXPECT_EQ(rows() + "@" + std::to_string(caret().column) + "," + std::to_string(caret().row), s.rows);
}

INSTANTIATE_TEST_SUITE_P(Scripts, InputScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace braille::test
