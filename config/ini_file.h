#pragma once
// The configuration file TESSERA.INI: where it lives, and reading and editing it key by key or
// section by section. A missing or unreadable file reads as empty (every key absent). Every change
// rewrites the whole file atomically — a temporary file in the same folder, flushed to disk, then
// renamed over the old one — so a crash or a failed write never leaves a damaged file behind.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_document.h"

namespace tessera {

// The file named by TESSERA_INI when that is set, otherwise TESSERA.INI in $XDG_CONFIG_HOME/tessera
// (by default ~/.config/tessera). Looked up afresh at every call, so tests can point it elsewhere.
std::filesystem::path ConfigFilePath();

// The parsed file; an empty document when it is missing, not a regular file or unreadable.
CIniDocument LoadIniFile(const std::filesystem::path& file);

// Replaces the file with the document, creating its folder when needed. False when the new file could
// not be written completely; the old file is then untouched and no temporary file is left behind.
bool StoreIniFile(const std::filesystem::path& file, const CIniDocument& document);

// Single operations on the configuration file (ConfigFilePath()).
[[nodiscard]] std::optional<std::string> ReadIniValue(std::string_view section, std::string_view key);
std::vector<std::string> ReadIniKeys(std::string_view section);
[[nodiscard]] bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value);
bool DeleteIniKey(std::string_view section, std::string_view key);
bool DeleteIniSection(std::string_view section);

}  // namespace tessera
