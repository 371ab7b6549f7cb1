#include "config/ini_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <system_error>

#include "foundation/safe_file.h"

namespace tessera {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFileName = "TESSERA.INI";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

template <typename Edit>
bool EditConfigFile(Edit edit) {
    const fs::path file = ConfigFilePath();
    CIniDocument document = LoadIniFile(file);
    if (!edit(document)) return false;
    return StoreIniFile(file, document);
}

}  // namespace

fs::path ConfigFilePath() {
    const std::string explicitFile = Environment("TESSERA_INI");
    if (!explicitFile.empty()) return fs::path(explicitFile);
    fs::path base;
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && fs::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const std::string home = Environment("HOME");
        base = home.empty() ? fs::path(".") : fs::path(home) / ".config";
    }
    return base / "tessera" / kFileName;
}

CIniDocument LoadIniFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return CIniDocument();
    std::ifstream in(file, std::ios::binary);
    if (!in) return CIniDocument();
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return CIniDocument();
    return CIniDocument::Parse(text);
}

bool StoreIniFile(const fs::path& file, const CIniDocument& document) {
    fs::path folder = file.parent_path();
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    try {
        WriteFileSafely(file, [&](std::ostream& out) { out << document.Serialize(); });
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

std::optional<std::string> ReadIniValue(std::string_view section, std::string_view key) {
    return LoadIniFile(ConfigFilePath()).Value(section, key);
}

std::vector<std::string> ReadIniKeys(std::string_view section) {
    return LoadIniFile(ConfigFilePath()).Keys(section);
}

bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
    return EditConfigFile([&](CIniDocument& document) { return document.SetValue(section, key, value); });
}

bool DeleteIniKey(std::string_view section, std::string_view key) {
    // Deleting what is not there succeeds without touching the file.
    return EditConfigFile([&](CIniDocument& document) { return document.DeleteKey(section, key); }) ||
           !ReadIniValue(section, key).has_value();
}

bool DeleteIniSection(std::string_view section) {
    return EditConfigFile([&](CIniDocument& document) { return document.DeleteSection(section); }) ||
           !LoadIniFile(ConfigFilePath()).HasSection(section);
}

}  // namespace tessera
