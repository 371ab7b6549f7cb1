#pragma once
// CIniDocument: the text of an INI file held as its lines, with the conventions of the classic
// private-profile functions: section and key names match ignoring case (ASCII), values are trimmed
// of surrounding blanks, lines starting with ';' are comments, the first of several equal sections
// or keys is the one read. Edits touch only the lines they must, so other sections, keys, comments
// and blank lines survive a rewrite byte for byte.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

class CIniDocument {
public:
    CIniDocument() = default;
    static CIniDocument Parse(std::string_view text);
    std::string Serialize() const;

    // The trimmed value of the key, or nothing when the section or the key is absent.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The section's key names in file order, each once (the first spelling).
    std::vector<std::string> Keys(std::string_view section) const;
    bool HasSection(std::string_view section) const;

    // Replaces the key's line, or appends the key after the last non-blank line of its section, or
    // appends the section at the end. Refuses (false, nothing changes) a key or value that the file
    // could not hold as one line: empty key, a key containing '=' or starting with '[' or ';', a line
    // break or NUL anywhere.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of the key in the section; false when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes every section of that name with all its lines; false when there was none.
    bool DeleteSection(std::string_view section);

    static bool IsStorableKey(std::string_view key);
    static bool IsStorableValue(std::string_view value);

private:
    struct CRange {
        size_t header;  // index of the "[name]" line
        size_t end;     // one past the section's last line
    };
    std::optional<CRange> FindSection(std::string_view section, size_t from = 0) const;
    std::optional<size_t> FindKey(const CRange& range, std::string_view key) const;

    std::vector<std::string> lines_;  // without their line ends
    std::string lineEnd_ = "\n";      // "\r\n" for a file written that way
    bool finalLineEnd_ = true;        // the last line is followed by a line end
    bool byteOrderMark_ = false;      // the file began with a UTF-8 byte-order mark
};

// ASCII case-insensitive equality, the way section and key names are matched.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tessera
