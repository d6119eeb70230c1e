#include "ViewClipboard.h"

#include "QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace braille {

namespace {

// The editor's own clipboard format: the private block of ClipboardFormat, as bytes.
const QString kClipboardMime = QStringLiteral("application/x-tenkora-cells");

} // namespace

bool ViewClipboard::put(const std::vector<std::uint8_t>& bytes)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    if (bytes.empty()) {
        clipboard->clear();
        return true;
    }
    m_block = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    auto* data = new QMimeData;
    data->setData(kClipboardMime, m_block);
    clipboard->setMimeData(data);
    return true;
}

void ViewClipboard::putText(std::u16string_view text)
{
    // The block again, with the print text beside it for other programs.
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        auto* data = new QMimeData;
        data->setData(kClipboardMime, m_block);
        data->setText(qt(text));
        clipboard->setMimeData(data);
    }
}

std::optional<std::u16string> ViewClipboard::text()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdU16String();
}

std::optional<std::vector<std::uint8_t>> ViewClipboard::get()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(kClipboardMime))
        return std::nullopt;
    const QByteArray bytes = data->data(kClipboardMime);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

} // namespace braille
