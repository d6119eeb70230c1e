#include "TestSupport.h"

#include "TableLoader.h"
#include "Utf.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

namespace braille::test {

TempDir::TempDir()
{
    std::random_device rd;
    for (;;) {
        m_path = std::filesystem::temp_directory_path() /
                 ("tenkora-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<CharacterDictionary> dictionaryFromTables(const std::map<std::string, std::string>& files)
{
    TempDir dir;
    for (const auto& [name, bytes] : files)
        writeBytes(dir.file(name), bytes);
    auto d = std::make_unique<CharacterDictionary>();
    loadTables(*d, dir.path());
    return d;
}

const CharacterDictionary& shippedDictionary()
{
    static CharacterDictionary* dictionary = [] {
        CharacterDictionary* d = &CharacterDictionary::instance();
        loadTables(*d);
        return d;
    }();
    return *dictionary;
}

std::filesystem::path sourceDir()
{
    if (const char* dir = std::getenv("TENKORA_SOURCE_DIR"))
        return dir;
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::string u8(std::u16string_view s) { return toUtf8(s); }
std::u16string u16(std::string_view s) { return fromUtf8(s); }

} // namespace braille::test
