#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace tessera::fuzz {
namespace {

// One folder per fuzzing process, for the configuration file and scratch inputs.
const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessera-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

}  // namespace

void UseScratchConfiguration() {
    if (std::getenv("TESSERA_INI")) return;
    ::setenv("TESSERA_INI", (ScratchFolder() / "TESSERA.INI").c_str(), 1);
}

ScratchFile::ScratchFile(const uint8_t* data, size_t size, const std::string& extension)
    : path_(ScratchFolder() / ("input" + extension)) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.flush()) throw std::runtime_error("cannot write the scratch input");
}

ScratchFile::~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

}  // namespace tessera::fuzz
