// libFuzzer target, built once per check: any bytes read as a BML file must give a valid
// document that writes and reads back (checkBmlInput); any bytes taken as UTF-8 link text must
// convert, save and read back as one body paragraph (checkLinkTextInput). TENKORA_FUZZ_CHECK
// names the check and TENKORA_FUZZ_NAME the target.

#include "CharacterDictionary.h"
#include "FuzzChecks.h"
#include "TableLoader.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path g_scratch;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    braille::loadTables(braille::CharacterDictionary::instance());
    g_scratch = std::filesystem::temp_directory_path() /
                ("tenkora-fuzz-" TENKORA_FUZZ_NAME "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_scratch);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_scratch, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string problem =
        braille::test::TENKORA_FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(data), size), g_scratch);
    if (!problem.empty()) {
        std::fprintf(stderr, TENKORA_FUZZ_NAME " check failed: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
