#include "FuzzChecks.h"

#include "BmlWriter.h"
#include "BmlReader.h"
#include "CharacterDictionary.h"
#include "LinkTextConverter.h"
#include "Utf.h"

#include <fstream>
#include <iterator>
#include <memory>

namespace braille::test {

namespace {

void putBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string getBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads with a bound on the steps: each paragraph step consumes a "<br/>", so more steps than
// the file has characters means the reader is not making progress.
std::string readAllSteps(const std::filesystem::path& path, std::size_t byteCount, BrailleDocument& document,
                         ReadWindow window = {})
{
    BmlReader reader(path, window);
    for (std::size_t steps = 0;; ++steps) {
        if (steps > byteCount + 1)
            return "the reader does not finish";
        if (reader.readStep(document) == kReadEnd)
            break;
    }
    if (!document.complete)
        return "the document is not complete after the last step";
    if (document.currentSection != Body)
        return "the current section is not the body after reading";
    if (std::string problem = document.checkInvariants(); !problem.empty())
        return "invariant: " + problem;
    for (int k = 0; k < kSectionCount; ++k) {
        std::uint32_t rows = 0;
        for (const BrailleParagraph& p : document.sections[k].paragraphs)
            rows += std::uint32_t(p.rows.size());
        if (rows != document.sections[k].rowCount)
            return std::string("rowCount of ") + sectionName(SectionKind(k)) + " is stale";
    }
    return {};
}

bool sameCharacters(const BrailleDocument& a, const BrailleDocument& b, std::string& problem)
{
    bool identical = true;
    for (int k = 0; k < kSectionCount; ++k) {
        const ParagraphList& pa = a.sections[k].paragraphs;
        const ParagraphList& pb = b.sections[k].paragraphs;
        if (pa.size() != pb.size()) {
            problem = std::string(sectionName(SectionKind(k))) + ": " + std::to_string(pa.size()) + " paragraphs, " +
                      std::to_string(pb.size()) + " after writing and reading";
            return false;
        }
        for (auto ia = pa.begin(), ib = pb.begin(); ia != pa.end(); ++ia, ++ib) {
            if (ia->characters->size() != ib->characters->size()) {
                problem = std::string(sectionName(SectionKind(k))) + ": a paragraph changed its length";
                return false;
            }
            if (*ia->characters != *ib->characters)
                identical = false;
        }
    }
    return identical;
}

// The same sections, paragraphs, characters, rows and labels.
std::string sameDocument(const BrailleDocument& a, const BrailleDocument& b)
{
    if (a.useOrgPage != b.useOrgPage)
        return "the label flag differs";
    for (int k = 0; k < kSectionCount; ++k) {
        const ParagraphList& pa = a.sections[k].paragraphs;
        const ParagraphList& pb = b.sections[k].paragraphs;
        if (pa.size() != pb.size())
            return std::string(sectionName(SectionKind(k))) + ": the paragraphs differ";
        for (auto ia = pa.begin(), ib = pb.begin(); ia != pa.end(); ++ia, ++ib) {
            if (*ia->characters != *ib->characters)
                return std::string(sectionName(SectionKind(k))) + ": the characters differ";
            if (ia->rows.size() != ib->rows.size())
                return std::string(sectionName(SectionKind(k))) + ": the rows differ";
            for (std::size_t r = 0; r < ia->rows.size(); ++r)
                if (ia->rows[r].orgPage != ib->rows[r].orgPage)
                    return std::string(sectionName(SectionKind(k))) + ": the labels differ";
        }
    }
    return {};
}

std::string sameLabels(const BrailleDocument& a, const BrailleDocument& b)
{
    for (int k = 0; k < kSectionCount; ++k) {
        const ParagraphList& pa = a.sections[k].paragraphs;
        const ParagraphList& pb = b.sections[k].paragraphs;
        for (auto ia = pa.begin(), ib = pb.begin(); ia != pa.end(); ++ia, ++ib) {
            if (ia->rows.size() != ib->rows.size())
                return "rows differ";
            for (std::size_t r = 0; r < ia->rows.size(); ++r) {
                const BrailleRow& ra = ia->rows[r];
                const bool onlyEnd = ra.end == ra.begin + 1 &&
                                     (*ia->characters)[ra.begin] == CharacterDictionary::instance().endMarkerEntry();
                // A row that is nothing but the end marker has no line element to carry a label.
                if (!onlyEnd && ra.orgPage != ib->rows[r].orgPage)
                    return "label '" + toUtf8(ra.orgPage) + "' came back as '" + toUtf8(ib->rows[r].orgPage) + "'";
            }
        }
    }
    return {};
}

} // namespace

std::string checkBmlInput(std::string_view bytes, const std::filesystem::path& scratch)
{
    const std::filesystem::path in = scratch / "in.bml";
    const std::filesystem::path out = scratch / "out.bml";
    putBytes(in, bytes);
    auto first = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    if (std::string problem = readAllSteps(in, bytes.size(), *first); !problem.empty())
        return "first reading: " + problem;

    // Decoding a few code units at a time cuts elements everywhere and mostly leaves the usual
    // spelling to the general steps; the document must not change.
    for (ReadWindow window : {ReadWindow{1, 1}, ReadWindow{3, 7}}) {
        BrailleDocument small(BrailleDocument::ForReading);
        if (std::string problem = readAllSteps(in, bytes.size(), small, window); !problem.empty())
            return "reading with a small window: " + problem;
        if (std::string problem = sameDocument(*first, small); !problem.empty())
            return "reading with a small window: " + problem;
    }

    first->modified = true;
    const SaveResult saved = writeBml(*first, out);
    if (!saved)
        return "writing failed: " + saved.reason;
    if (first->modified || !first->complete)
        return "flags after a successful save";
    const std::string written = getBytes(out);

    auto second = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    if (std::string problem = readAllSteps(out, written.size(), *second); !problem.empty())
        return "second reading: " + problem;
    if (second->useOrgPage != first->useOrgPage)
        return "the label flag changed";
    std::string problem;
    if (!sameCharacters(*first, *second, problem))
        return problem;
    if (!problem.empty())
        return problem;
    // Every character came back as itself: the rows are the same, so are the labels and bytes.
    if (first->useOrgPage)
        if (std::string labels = sameLabels(*first, *second); !labels.empty())
            return labels;
    if (!writeBml(*second, out))
        return "second writing failed";
    if (getBytes(out) != written)
        return "the second writing differs from the first";
    return {};
}

std::string checkLinkTextInput(std::string_view bytes, const std::filesystem::path& scratch)
{
    const std::u16string text = fromUtf8(bytes);
    LinkTextConverter converter;
    if (!converter.convert(text))
        return "the conversion failed";
    std::u16string_view upToZero(text);
    upToZero = upToZero.substr(0, upToZero.find(u'\0'));
    if (parseLinkText(upToZero).size() != converter.characterCount())
        return "record count and char elements differ";

    const std::filesystem::path file = scratch / "work.bml";
    if (SaveResult saved = converter.save(file); !saved)
        return "saving failed: " + saved.reason;
    if (getBytes(file) != converter.serialize())
        return "the saved file differs from the serialised tree";

    BrailleDocument document(BrailleDocument::ForReading);
    if (std::string problem = readAllSteps(file, converter.serialize().size(), document); !problem.empty())
        return "reading the work file: " + problem;
    if (document.useOrgPage)
        return "the work file declares labels";
    const ParagraphList& body = document.sections[Body].paragraphs;
    if (body.size() != 1)
        return "the body has " + std::to_string(body.size()) + " paragraphs";
    if (body.front().characters->size() != converter.characterCount() + 1)
        return "the body holds " + std::to_string(body.front().characters->size() - 1) + " characters for " +
               std::to_string(converter.characterCount()) + " records";
    for (SectionKind k : {Cover, Contents, Colophon})
        if (document.sections[k].paragraphs.size() != 1 || document.sections[k].paragraphs.front().characters->size() != 1)
            return std::string(sectionName(k)) + " is not empty";
    return {};
}

} // namespace braille::test
