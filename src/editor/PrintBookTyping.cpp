#include "PrintBookTyping.h"

#include "CommandIds.h"
#include "ComposerInputMethod.h"
#include "EditingSession.h"
#include "ReviewWords.h"

#include <algorithm>
#include <map>

namespace braille {

namespace {

// What the session needs of a window, for typing without one.
class QuietHost final : public SessionHost {
public:
    void startTimer(int, int) override {}
    void stopTimer(int) override {}
    void setStatusText(int, std::u16string_view) override {}
    void setBrailleButton(bool) override {}
    void message(std::u16string_view) override {}
    void caretIntoView() override {}
    void repaint() override {}
    void sectionChanged(SectionKind) override {}
};

class NoClipboard final : public SessionClipboard {
public:
    bool put(const std::vector<std::uint8_t>&) override { return false; }
    std::optional<std::vector<std::uint8_t>> get() override { return std::nullopt; }
};

// Blanks before a paragraph: a heading at cell 9, 7 or 5 by its level, body text at cell 3.
std::u16string indentOf(const PrintParagraph& paragraph, bool indentBody)
{
    if (paragraph.kind == PrintParagraph::Heading)
        return std::u16string(paragraph.level <= 1 ? 8 : paragraph.level == 2 ? 6 : 4, u'\u3000');
    return indentBody ? std::u16string(2, u'\u3000') : std::u16string();
}

void addCounts(std::vector<autotranslate::WordCount>& into, std::map<std::u16string, std::size_t>& index,
               const std::vector<autotranslate::WordCount>& from)
{
    for (const autotranslate::WordCount& w : from) {
        auto [it, fresh] = index.try_emplace(w.word, into.size());
        if (fresh)
            into.push_back({w.word, w.note, 0});
        into[it->second].count += w.count;
    }
}

// The words of a paragraph whose reading was guessed or that the dictionary does not know.
void noteWordsToReview(const autotranslate::Translation& t, SectionKind section, std::uint32_t paragraph,
                       std::vector<WordToReview>& review)
{
    if (t.guessed.empty() && t.unknown.empty())
        return;
    const auto listed = [](const std::vector<autotranslate::WordCount>& list, const std::u16string& word) {
        return std::any_of(list.begin(), list.end(), [&](const autotranslate::WordCount& w) { return w.word == word; });
    };
    for (const autotranslate::TranslatedWord& w : t.words) {
        const bool guessed = listed(t.guessed, w.print);
        if (guessed || listed(t.unknown, w.print))
            review.push_back({section, paragraph, w.printBegin, w.printEnd, w.print, guessed});
    }
}

} // namespace

PrintBookTyping typePrintBook(const PrintBook& book, const autotranslate::AutoTranslator& translator,
                              PageLayout layout,
                              const std::function<bool(std::size_t done, std::size_t total)>& progress)
{
    PrintBookTyping result;
    QuietHost host;
    NoClipboard clipboard;
    NoCompanion companion;
    ComposerInputMethod inputMethod;
    NoCandidateList mathList, brailleList;
    EditingSession session({host, clipboard, companion, inputMethod, mathList, brailleList, layout});
    auto document = std::make_unique<BrailleDocument>();
    document->setCellsPerLine(layout.ColumnNumber);
    document->complete = true;
    session.setDocument(document.get());

    const std::size_t total = book.cover.size() + book.body.size() + book.colophon.size();
    std::size_t done = 0;
    std::map<std::u16string, std::size_t> guessedIndex, unknownIndex;
    struct Part {
        const std::vector<PrintParagraph>* paragraphs;
        int command;
        SectionKind section;
        bool indentBody;
    };
    const Part parts[] = {{&book.cover, cmd::EditCover, Cover, false},
                          {&book.body, cmd::EditBody, Body, true},
                          {&book.colophon, cmd::EditColophon, Colophon, false}};
    for (const Part& part : parts) {
        if (part.paragraphs->empty())
            continue;
        session.command(part.command);
        // The section's text, a paragraph a line, typed a few dozen paragraphs at a time as
        // pastes: the rules run piece by piece as the caret moves on, so the whole costs what its
        // text costs, and the work can be stopped between two pastes.
        std::u16string text;
        std::vector<TypedWord> words; // to check, by their place in `text`
        // Each piece of text goes in at the caret, at the section's end; its words are found
        // there once it is in.
        const auto typeText = [&] {
            const DocumentLocation start = session.cursor().location();
            result.leftOut += session.pasteTextAsText(text).leftOut;
            std::vector<ReviewItem> placed = placeTypedWords(*document, part.section, start, text, words);
            result.reviewItems.insert(result.reviewItems.end(), std::make_move_iterator(placed.begin()),
                                      std::make_move_iterator(placed.end()));
            text.clear();
            words.clear();
        };
        std::vector<std::u16string> labels;
        bool first = true;
        for (const PrintParagraph& paragraph : *part.paragraphs) {
            std::vector<autotranslate::AutoTranslator::GivenReading> given;
            for (const RubySpan& r : paragraph.ruby)
                given.push_back({r.begin, r.end, r.reading});
            result.rubyUsed += given.size();
            autotranslate::Translation t = translator.translate(paragraph.text, given);
            addCounts(result.guessed, guessedIndex, t.guessed);
            addCounts(result.unknown, unknownIndex, t.unknown);
            noteWordsToReview(t, part.section, std::uint32_t(&paragraph - part.paragraphs->data()), result.review);
            // A paragraph is one braille paragraph whatever line feeds its print had.
            for (char16_t& c : t.braille)
                if (c == u'\n' || c == u'\r')
                    c = u'\u3000';
            if (!first)
                text += u'\n';
            first = false;
            text += indentOf(paragraph, part.indentBody);
            const std::vector<TypedWord> toCheck = wordsToCheck(t, text.size());
            words.insert(words.end(), toCheck.begin(), toCheck.end());
            text += t.braille;
            labels.push_back(paragraph.pageLabel);
            ++done;
            if (done % 64 == 0) {
                typeText();
                // A new book has nothing to undo: what the typing recorded goes at once.
                session.undoHistory().reset();
                if (progress && !progress(done, total)) {
                    result.cancelled = true;
                    return result;
                }
            }
        }
        typeText();
        // The print pages begin on the first rows of their paragraphs.
        std::size_t k = 0;
        for (BrailleParagraph& p : document->sections[part.section].paragraphs) {
            if (k < labels.size() && !labels[k].empty() && !p.rows.empty()) {
                p.rows.front().orgPage = labels[k];
                document->useOrgPage = true;
            }
            ++k;
        }
    }
    if (progress && !progress(total, total)) {
        result.cancelled = true;
        return result;
    }
    session.command(cmd::EditBody);
    session.setDocument(nullptr);
    document->currentSection = Body;
    document->recountRows();
    document->modified = true;
    result.document = std::move(document);
    return result;
}

} // namespace braille
