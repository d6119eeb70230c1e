#include "BmlTestSupport.h"

#include "BmlWriter.h"
#include "BmlReader.h"
#include "DocumentBuilder.h"
#include "TestSupport.h"

namespace braille::test {

std::unique_ptr<BrailleDocument> readBmlFile(const std::filesystem::path& path, int* steps, ReadWindow window)
{
    shippedDictionary();
    auto document = std::make_unique<BrailleDocument>(BrailleDocument::ForReading);
    BmlReader reader(path, window);
    int paragraphs = 0;
    while (reader.readStep(*document) == kReadParagraph)
        ++paragraphs;
    if (steps)
        *steps = paragraphs;
    return document;
}

std::unique_ptr<BrailleDocument> readBmlBytes(std::string_view bytes, int* steps, ReadWindow window)
{
    TempDir dir;
    writeBytes(dir.file("in.bml"), bytes);
    return readBmlFile(dir.file("in.bml"), steps, window);
}

std::string writtenBytes(BrailleDocument& document, const std::vector<std::u16string>* labels)
{
    TempDir dir;
    if (!writeBml(document, dir.file("out.bml"), labels))
        return {};
    return readBytes(dir.file("out.bml"));
}

std::string dumpDocument(BrailleDocument& document)
{
    const SectionKind saved = document.currentSection;
    std::string out;
    for (int k = 0; k < kSectionCount; ++k) {
        document.currentSection = SectionKind(k);
        out += std::string("== ") + sectionName(SectionKind(k)) + "\n" + dumpRows(document);
    }
    document.currentSection = saved;
    return out;
}

std::string bmlFile(bool labelled, std::string_view cover, std::string_view contents, std::string_view body,
                    std::string_view colophon)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<document>\r\n\t<head>\r\n";
    out += labelled ? "\t\t<use orgpage=\"yes\"/>\r\n" : "\t\t<use orgpage=\"no\"/>\r\n";
    out += "\t</head>\r\n";
    const std::string_view parts[] = {cover, contents, body, colophon};
    const char* names[] = {"cover", "contents", "body", "colophon"};
    for (int k = 0; k < 4; ++k) {
        out += std::string("\t<") + names[k] + ">\r\n";
        out += parts[k];
        out += std::string("\t</") + names[k] + ">\r\n";
    }
    out += "</document>\r\n";
    return out;
}

} // namespace braille::test
