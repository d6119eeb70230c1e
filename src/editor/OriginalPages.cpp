#include "OriginalPages.h"

#include "ViewPicture.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace braille {

OriginalPageRows originalPageRows(const BrailleDocument& document, std::uint32_t linesPerPage)
{
    OriginalPageRows out;
    std::u16string last = u"0";
    for (ConstBrailleDocumentRowIterator it(document, 0); it.valid();) {
        out.rowLabels.push_back(rowLabel(it.index(), linesPerPage));
        std::u16string text;
        const BrailleParagraph& paragraph = it.paragraph();
        for (std::uint32_t k = it.row().begin; k < it.row().end && k < paragraph.characters->size(); ++k) {
            const BrailleCharacter* e = (*paragraph.characters)[k];
            // A character drawn over several cells gets spaces around it, so the columns line up.
            const std::size_t pad = e->print.empty() ? 0 : e->cellCount() / e->print.size() / 2;
            text.append(pad, u' ');
            text += e->print;
            text.append(pad, u' ');
        }
        out.rowTexts.push_back(std::move(text));
        const std::u16string& label = paragraph.rows.front().orgPage;
        if (label != last) {
            last = label;
            out.labels.push_back(label);
        } else {
            out.labels.emplace_back();
        }
        if (!it.next())
            break;
    }
    return out;
}

bool originalPageKeyAccepted(char16_t c) { return (c >= u'0' && c <= u'9') || c == 8 || c == 13; }

std::u16string originalPageInput(std::u16string_view committed)
{
    std::u16string out;
    if (committed.empty() || committed.front() < 0x0001 || committed.front() > 0x00FF)
        return out;
    for (char16_t c : committed)
        if (c >= u'0' && c <= u'9')
            out.push_back(c);
    return out;
}

std::vector<std::u16string> originalPageLabels(const std::vector<std::u16string>& lines, std::size_t rows)
{
    std::vector<std::u16string> labels;
    labels.reserve(rows);
    std::u16string current;
    for (std::size_t i = 0; i < rows; ++i) {
        if (i < lines.size() && !lines[i].empty())
            current = lines[i];
        labels.push_back(current);
    }
    return labels;
}

void applyOriginalPageLabels(BrailleDocument& document, const std::vector<std::u16string>& labels)
{
    std::size_t i = 0;
    for (BrailleParagraph& paragraph : document.section().paragraphs)
        for (BrailleRow& row : paragraph.rows)
            row.orgPage = i < labels.size() ? labels[i++] : std::u16string();
    document.useOrgPage = true;
    document.modified = true;
}

void logMessage(const std::filesystem::path& folder, unsigned message, unsigned wParam, std::uintmax_t limit)
{
    const std::filesystem::path path = folder / "Tenkora_log.txt";
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) >= limit)
        ::rename(path.c_str(), (folder / "Tenkora_log.1.txt").c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    char line[64];
    const int length = std::snprintf(line, sizeof line, "MSG ID : %04x , WPARAM : %04x \r\n", message, wParam);
    [[maybe_unused]] const ssize_t written = ::write(fd, line, std::size_t(length));
    ::close(fd);
}

} // namespace braille
