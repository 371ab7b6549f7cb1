#pragma once
// Shared by the fuzz targets: a private configuration file, and inputs that a reader wants as a file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tessera::fuzz {

// Points TESSERA_INI at a file in a private temporary folder (unless it is set already), so that
// parameters read their defaults and nothing touches the user's configuration.
void UseScratchConfiguration();

// A file holding the given bytes, removed again when this goes out of scope.
class ScratchFile {
public:
    ScratchFile(const uint8_t* data, size_t size, const std::string& extension);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tessera::fuzz
