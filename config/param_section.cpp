#include "config/param_section.h"

#include <vector>

#include "config/ini_file.h"

namespace tessera {

void ReadSection(std::string_view section, std::string_view ignorePrefix, CParamReader& reader) {
    // One snapshot of the file serves the key list and every value.
    const CIniDocument document = LoadIniFile(ConfigFilePath());
    std::vector<std::string> keys;
    size_t listed = 0;
    for (auto& key : document.Keys(section)) {
        listed += key.size() + 1;
        if (listed > kMaxSectionKeyChars) break;
        keys.push_back(std::move(key));
    }
    for (const auto& key : keys) {
        if (!ignorePrefix.empty() && std::string_view(key).starts_with(ignorePrefix)) continue;
        std::string value = document.Value(section, key).value_or(std::string());
        if (value.size() > kMaxSectionValueChars) value.resize(kMaxSectionValueChars);
        reader.OnEntry(key, value);
    }
}

void ReadSection(std::string_view section, const char* ignorePrefix, CParamReader& reader) {
    ReadSection(section, ignorePrefix ? std::string_view(ignorePrefix) : std::string_view(), reader);
}

bool WriteSection(std::string_view section, CParamWriter& writer) {
    const auto file = ConfigFilePath();
    CIniDocument document = LoadIniFile(file);
    document.DeleteSection(section);
    while (writer.Next()) document.SetValue(section, writer.Key(), writer.Value());
    return StoreIniFile(file, document);
}

}  // namespace tessera
