#pragma once
// The system clipboard as the editing session sees it: the editor's own block of cells
// (application/x-tenkora-cells, pasted exactly by any Tenkora) with the print text beside it for
// other programs, and plain text from them.

#include "SessionHost.h"

#include <QByteArray>

namespace braille {

class ViewClipboard final : public SessionClipboard {
public:
    bool put(const std::vector<std::uint8_t>& bytes) override;
    std::optional<std::vector<std::uint8_t>> get() override;
    void putText(std::u16string_view text) override;
    std::optional<std::u16string> text() override;

private:
    QByteArray m_block; // the last block put, offered again with its text
};

} // namespace braille
