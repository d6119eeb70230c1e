// The automatic translation's fuzz check: any bytes, taken as UTF-8 print (control characters
// and NULs included), with up to three user readings whose prints are cut from that same text,
// must translate without a crash into braille whose words stand where they say.

#include "FuzzChecks.h"

#include "AutoTranslator.h"
#include "Utf.h"

#include <algorithm>

namespace braille::test {

namespace {

// The user readings the first bytes ask for: byte 0 says how many (0 to 3), then two bytes each,
// where the print starts in the text and how many characters it takes. The braille is kana
// chosen by the print's characters, so it differs from what the analyser would read.
autotranslate::UserReadings userReadingsFor(std::string_view& bytes, std::u16string& text)
{
    const std::size_t count = bytes.empty() ? 0 : std::size_t(static_cast<unsigned char>(bytes[0]) % 4);
    const std::size_t header = std::min(bytes.size(), 1 + 2 * count);
    const std::string_view choice = bytes.substr(0, header);
    bytes.remove_prefix(header);
    text = fromUtf8(bytes);
    std::u16string tsv;
    static constexpr std::u16string_view kana = u"アイウエオカキクケコサシスセソナニヌネノ";
    for (std::size_t k = 0; k < count && !text.empty() && 2 + 2 * k < choice.size(); ++k) {
        const std::size_t at = static_cast<unsigned char>(choice[1 + 2 * k]) % text.size();
        const std::size_t length = 1 + static_cast<unsigned char>(choice[2 + 2 * k]) % 6;
        const std::u16string print = text.substr(at, length);
        std::u16string braille;
        for (char16_t c : print)
            braille += kana[c % kana.size()];
        if (k == 1)
            braille.insert(braille.size() / 2 + 1, u" "); // a blank inside the braille
        tsv += print + u'\t' + braille + u'\n';
    }
    std::vector<autotranslate::UserReadingError> errors; // a print holding a tab or line feed is skipped
    return autotranslate::UserReadings::parse(tsv, errors);
}

} // namespace

std::string checkAutoTranslateInput(std::string_view bytes, const std::filesystem::path&)
{
    static autotranslate::AutoTranslator::OpenResult opened = autotranslate::AutoTranslator::open();
    if (!opened.translator)
        return "the analyser does not open: " + opened.error;
    autotranslate::AutoTranslator& translator = *opened.translator;
    std::u16string text;
    translator.setUserReadings(userReadingsFor(bytes, text));
    const autotranslate::UserReadings& user = translator.userReadings();

    const autotranslate::Translation t = translator.translate(text);
    std::size_t printEnd = 0;
    for (const autotranslate::TranslatedWord& w : t.words) {
        const std::string name = "word \"" + toUtf8(w.print) + "\"";
        if (w.printBegin < printEnd || w.printEnd < w.printBegin || w.printEnd > text.size())
            return name + ": its print span is out of order or outside the text";
        if (text.compare(w.printBegin, w.printEnd - w.printBegin, w.print) != 0)
            return name + ": the text at its print span differs";
        if (w.brailleEnd < w.brailleBegin || w.brailleEnd > t.braille.size() ||
            t.braille.compare(w.brailleBegin, w.brailleEnd - w.brailleBegin, w.braille) != 0)
            return name + ": the braille at its span differs";
        printEnd = w.printEnd;
    }
    if (std::count(t.braille.begin(), t.braille.end(), u'\n') != std::count(text.begin(), text.end(), u'\n'))
        return "the braille does not have the text's line feeds";

    // Every user word, matched longest first from left to right in each line, is one word with
    // exactly its braille.
    std::string problem;
    forEachLine(text, [&](std::u16string_view line, std::size_t start, bool) {
        for (std::size_t at = 0; at < line.size() && problem.empty();) {
            const autotranslate::UserReading* entry = user.match(line, at);
            if (!entry) {
                ++at;
                continue;
            }
            const std::size_t begin = start + at, end = begin + entry->print.size();
            if (std::none_of(t.words.begin(), t.words.end(), [&](const autotranslate::TranslatedWord& w) {
                    return w.printBegin == begin && w.printEnd == end && w.braille == entry->braille;
                }))
            {
                problem = "user word \"" + toUtf8(entry->print) + "\" did not come out as " + toUtf8(entry->braille) +
                          "; the words there:";
                for (const autotranslate::TranslatedWord& w : t.words)
                    if (w.printEnd > begin && w.printBegin < end)
                        problem += " \"" + toUtf8(w.print) + "\" " + toUtf8(w.braille);
            }
            at += entry->print.size();
        }
    });
    if (!problem.empty())
        return problem;

    if (translator.translate(text).braille != t.braille)
        return "a second translation of the same text differs";
    return {};
}

} // namespace braille::test
