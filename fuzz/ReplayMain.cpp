// Runs every input of the given files and folders through the fuzz target once, in name order, so
// that the corpus and every input that once crashed a fuzzer are checked by the ordinary build.
// A fault in the target aborts the run (an assertion, a sanitizer, an uncaught exception), which
// ctest reports as a failure.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// Dot files (such as a folder's .gitkeep) are not inputs.
bool isInput(const fs::path& path) {
    return path.filename().string().rfind('.', 0) != 0;
}

bool collect(const fs::path& path, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path, error)) {
            if (entry.is_regular_file() && isInput(entry.path()))
                inputs.push_back(entry.path());
        }
        return !error;
    }
    if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
        return true;
    }
    return false;
}

bool readAll(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        // A folder that is not there is a broken test set-up, not an empty corpus.
        if (!collect(argv[i], inputs)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    std::vector<std::uint8_t> bytes;
    for (const fs::path& input : inputs) {
        if (!readAll(input, bytes)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.string().c_str());
            return 2;
        }
        // The name goes out first, so that the input of a crash is the last one printed.
        std::fprintf(stderr, "%s\n", input.string().c_str());
        std::fflush(stderr);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs ran\n", inputs.size());
    return 0;
}
