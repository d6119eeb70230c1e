#include "DocumentDump.h"

#include "Utf.h"

namespace braille {

std::string dumpSection(const BrailleDocument& document, SectionKind kind)
{
    const DocumentSection& section = document.sections[kind];
    std::string out = "== " + std::string(sectionName(kind)) + " (" + std::to_string(section.rowCount) + " rows)\n";
    for (const BrailleParagraph& p : section.paragraphs) {
        for (const BrailleRow& row : p.rows) {
            std::u16string prints, cells;
            std::string sets;
            for (std::uint32_t i = row.begin; i < row.end; ++i) {
                const BrailleCharacter* c = (*p.characters)[i];
                prints += c->print;
                cells += c->nabcc == u"\n" ? u"\u21B2" : c->nabcc;
                if (i != row.begin)
                    sets += ',';
                sets += std::to_string(c->set);
            }
            out += toUtf8(row.orgPage) + '\t' + toUtf8(prints) + '\t' + toUtf8(cells) + '\t' + sets + '\n';
        }
    }
    return out;
}

} // namespace braille
