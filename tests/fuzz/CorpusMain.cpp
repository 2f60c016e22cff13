// Runs a fuzz target over every file of a corpus folder, so that each input that once
// found a fault stays a regression test in the ordinary build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    const bool help = argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h");
    if (argc != 2 || help) {
        std::fprintf(help ? stdout : stderr,
                     "usage: %s CORPUS_FOLDER\nRuns the fuzz target once over every file below CORPUS_FOLDER.\n",
                     argv[0]);
        return help ? 0 : 2;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(argv[1], error)) {
        std::fprintf(stderr, "%s: %s is not a folder\n", argv[0], argv[1]);
        return 2;
    }
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1])) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        ++count;
    }
    std::printf("%zu corpus inputs ran\n", count);
    return count > 0 ? 0 : 1;
}
