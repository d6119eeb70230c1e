#include "ZipArchive.h"

#include <zip.h>

namespace braille::import {

namespace {

// An entry larger than this is not a book's text: refusing it keeps a ZIP bomb out of memory.
constexpr zip_uint64_t kMaxEntrySize = 256u * 1024u * 1024u;

std::string zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

} // namespace

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool ZipArchive::open(const std::filesystem::path& file, std::string& error)
{
    int code = 0;
    m_zip = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (m_zip)
        return true;
    if (code == ZIP_ER_NOZIP)
        error = "it is not a ZIP archive, or the archive is truncated";
    else if (code == ZIP_ER_INCONS)
        error = "its ZIP archive is damaged or truncated";
    else
        error = "its ZIP archive cannot be read (" + zipErrorText(code) + ")";
    return false;
}

long long ZipArchive::locate(const std::string& name) const
{
    zip_int64_t index = zip_name_locate(m_zip, name.c_str(), 0);
    if (index < 0)
        index = zip_name_locate(m_zip, name.c_str(), ZIP_FL_NOCASE);
    return index;
}

bool ZipArchive::contains(const std::string& name) const
{
    return m_zip && locate(name) >= 0;
}

std::optional<std::string> ZipArchive::read(const std::string& name, std::string& error) const
{
    const zip_int64_t index = m_zip ? locate(name) : -1;
    if (index < 0) {
        error = "it has no " + name;
        return std::nullopt;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
        error = "its entry " + name + " cannot be read";
        return std::nullopt;
    }
    if (st.size > kMaxEntrySize) {
        error = "its entry " + name + " is too large to be text";
        return std::nullopt;
    }
    zip_file_t* entry = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!entry) {
        error = "its entry " + name + " cannot be read (" + std::string(zip_strerror(m_zip)) + ")";
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(st.size), '\0');
    zip_uint64_t done = 0;
    while (done < st.size) {
        const zip_int64_t n = zip_fread(entry, bytes.data() + done, st.size - done);
        if (n <= 0)
            break;
        done += static_cast<zip_uint64_t>(n);
    }
    // Reading to the end lets libzip check the entry's CRC.
    char extra = 0;
    const zip_int64_t tail = done == st.size ? zip_fread(entry, &extra, 1) : -1;
    const bool ok = done == st.size && tail == 0;
    const std::string why = ok ? std::string() : std::string(zip_file_strerror(entry));
    zip_fclose(entry);
    if (!ok) {
        error = "its entry " + name + " is damaged (" + why + ")";
        return std::nullopt;
    }
    return bytes;
}

} // namespace braille::import
