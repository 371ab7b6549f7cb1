#pragma once
// Whole sections of the configuration file read and written through small visitor interfaces; the
// rules ("Rules") and the library preload list ("Preload") keep their entries this way.
#include <string>
#include <string_view>

namespace tessera {

class CParamReader {
public:
    virtual ~CParamReader() = default;
    // Called once per key of the section, in file order.
    virtual void OnEntry(const std::string& key, const std::string& value) = 0;
};

class CParamWriter {
public:
    virtual ~CParamWriter() = default;
    // Advances to the next entry; false when there is none.
    virtual bool Next() = 0;
    virtual std::string Key() = 0;
    virtual std::string Value() = 0;
};

// The section's key names are taken, in file order, while they fit in kMaxSectionKeyChars characters
// in all (each name counted with one separator); keys that do not fit are left out whole.
inline constexpr size_t kMaxSectionKeyChars = 1023;
// Values handed to OnEntry are cut to this many characters.
inline constexpr size_t kMaxSectionValueChars = 79;

// Calls reader.OnEntry(key, value) for each key of the section that does not begin with
// ignorePrefix (exact comparison; an empty prefix ignores nothing).
void ReadSection(std::string_view section, std::string_view ignorePrefix, CParamReader& reader);
// The same, where a null prefix (no prefix given) ignores nothing.
void ReadSection(std::string_view section, const char* ignorePrefix, CParamReader& reader);

// Replaces the section by the writer's entries, in one atomic rewrite of the file. Entries that a file
// line cannot hold (see CIniDocument::SetValue) are skipped. False when the file could not be written;
// it is then unchanged.
[[nodiscard]] bool WriteSection(std::string_view section, CParamWriter& writer);

}  // namespace tessera
