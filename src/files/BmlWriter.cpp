#include "BmlWriter.h"

#include "AtomicSave.h"
#include "BrailleDocument.h"
#include "CharacterDictionary.h"
#include "XmlText.h"
#include "Utf8File.h"

namespace braille {

namespace {

constexpr std::u16string_view kEol = u"\r\n";

// Collects the text of one line at a time and hands it to the file, which buffers the bytes.
class LineWriter {
public:
    explicit LineWriter(Utf8File& out) : m_out(out) {}

    void line(std::u16string_view indent, std::u16string_view text)
    {
        m_line.assign(indent);
        m_line += text;
        m_line += kEol;
        m_out.write(m_line);
    }
    std::u16string& start(std::u16string_view indent)
    {
        m_line.assign(indent);
        return m_line;
    }
    void finish()
    {
        m_line += kEol;
        m_out.write(m_line);
    }

private:
    Utf8File& m_out;
    std::u16string m_line;
};

bool onlyEndMarker(const BrailleParagraph& p, const BrailleRow& row, const BrailleCharacter* endMarker)
{
    return row.end == row.begin + 1 && (*p.characters)[row.begin] == endMarker;
}

void writeCharacter(LineWriter& w, const BrailleCharacter* c, const CharacterDictionary& d)
{
    if (c == d.endMarkerEntry())
        return;
    if (c == d.lineBreakEntry()) {
        w.line(u"\t\t\t", u"<br/>");
        return;
    }
    if (c == d.blankEntry()) {
        w.line(u"\t\t\t", u"<char mode=\"text\" nabcc=\" \">\u3000</char>");
        return;
    }
    std::u16string& s = w.start(u"\t\t\t");
    s += isMathSet(c->set) ? u"<char mode=\"math\" nabcc=\"" : u"<char mode=\"text\" nabcc=\"";
    appendEscaped(s, c->nabcc, kEscapeCells);
    s += u"\">";
    appendEscaped(s, c->print, kEscapeContent);
    s += u"</char>";
    w.finish();
}

} // namespace

void writeBmlContent(Utf8File& out, const BrailleDocument& document,
                     const std::vector<std::u16string>* replacementLabels)
{
    const CharacterDictionary& d = CharacterDictionary::instance();
    const bool labelled = document.useOrgPage || replacementLabels;
    LineWriter w(out);
    w.line(u"", u"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
    w.line(u"", u"<document>");
    w.line(u"\t", u"<head>");
    w.line(u"\t\t", labelled ? u"<use orgpage=\"yes\"/>" : u"<use orgpage=\"no\"/>");
    w.line(u"\t", u"</head>");

    for (int k = 0; k < kSectionCount; ++k) {
        const SectionKind kind = SectionKind(k);
        const std::u16string name(sectionName(kind), sectionName(kind) + std::char_traits<char>::length(sectionName(kind)));
        w.line(u"\t", u"<" + name + u">");
        std::size_t lineNumber = 0;
        for (const BrailleParagraph& p : document.sections[k].paragraphs) {
            for (const BrailleRow& row : p.rows) {
                if (onlyEndMarker(p, row, d.endMarkerEntry()))
                    continue;
                if (labelled) {
                    const std::u16string* label = &row.orgPage;
                    if (kind == Body && replacementLabels && lineNumber < replacementLabels->size())
                        label = &(*replacementLabels)[lineNumber];
                    std::u16string& s = w.start(u"\t\t");
                    s += u"<line orgpage=\"";
                    appendEscaped(s, *label, kEscapeLabel);
                    s += u"\">";
                    w.finish();
                } else {
                    w.line(u"\t\t", u"<line>");
                }
                ++lineNumber;
                for (std::uint32_t i = row.begin; i < row.end; ++i)
                    writeCharacter(w, (*p.characters)[i], d);
                w.line(u"\t\t", u"</line>");
            }
        }
        w.line(u"\t", u"</" + name + u">");
    }
    w.line(u"", u"</document>");
}

SaveResult writeBml(BrailleDocument& document, const std::filesystem::path& path,
                    const std::vector<std::u16string>* replacementLabels, SaveKind kind)
{
    if (replacementLabels)
        document.useOrgPage = true;
    document.complete = false;
    AtomicSave save(path, kind);
    if (save.status()) {
        Utf8File out(save.temporaryPath(), Utf8File::Write);
        if (out.isOpen())
            writeBmlContent(out, document, replacementLabels);
        if (!out.isOpen() || !out.flush()) {
            // The file class names the temporary file; the user knows the file being saved.
            const std::string& detail = out.error();
            const std::size_t colon = detail.rfind(": ");
            save.fail("cannot write " + save.target().string() +
                      (colon == std::string::npos ? std::string() : detail.substr(colon)));
        }
    }
    SaveResult result = save.commit();
    document.complete = true;
    if (result)
        document.modified = false;
    return result;
}

} // namespace braille
