// Runs inputs through a fuzz target's LLVMFuzzerTestOneInput without
// libFuzzer: every argument is a file or a directory whose files are run in
// name order. The gcc builds link it to each target so that the corpus is
// replayed as an ordinary test, under the sanitizers of that build.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

static void Abspielen(const fs::path &datei)
{
    std::ifstream in(datei, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s cannot be read\n", datei.c_str());
        std::exit(1);
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("%s (%zu bytes)\n", datei.c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

int main(int argc, char **argv)
{
    std::vector<fs::path> dateien;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry &eintrag : fs::directory_iterator(argv[i]))
                if (eintrag.is_regular_file())
                    dateien.push_back(eintrag.path());
        } else {
            dateien.emplace_back(argv[i]);
        }
    }
    std::sort(dateien.begin(), dateien.end());
    // A replay that finds nothing to run has checked nothing.
    if (dateien.empty()) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    for (const fs::path &datei : dateien)
        Abspielen(datei);
    std::printf("%zu inputs replayed\n", dateien.size());
    return 0;
}
