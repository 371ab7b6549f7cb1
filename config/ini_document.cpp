#include "config/ini_document.h"

#include <unordered_set>

namespace tessera {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const size_t close = line.find(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return Trim(line);
}

struct CKeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and value of a "key=value" line, or nothing for comments, headers and other lines.
std::optional<CKeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    CKeyLine result{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
    if (result.key.empty()) return std::nullopt;
    return result;
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

CIniDocument CIniDocument::Parse(std::string_view text) {
    CIniDocument doc;
    // A byte-order mark is no part of the first line (it would hide a section header there); it is
    // written back as it was found.
    constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8ByteOrderMark)) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
        doc.byteOrderMark_ = true;
    }
    if (text.empty()) return doc;
    size_t start = 0;
    bool lineEndChosen = false;
    while (start < text.size()) {
        size_t newline = text.find('\n', start);
        const bool terminated = newline != std::string_view::npos;
        if (!terminated) newline = text.size();
        std::string_view line = text.substr(start, newline - start);
        const bool crlf = terminated && !line.empty() && line.back() == '\r';
        if (crlf) line.remove_suffix(1);
        if (terminated && !lineEndChosen) {
            doc.lineEnd_ = crlf ? "\r\n" : "\n";
            lineEndChosen = true;
        }
        doc.lines_.emplace_back(line);
        doc.finalLineEnd_ = terminated;
        start = newline + 1;
    }
    return doc;
}

std::string CIniDocument::Serialize() const {
    std::string out(byteOrderMark_ ? "\xEF\xBB\xBF" : "");
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || finalLineEnd_) out += lineEnd_;
    }
    return out;
}

std::optional<CIniDocument::CRange> CIniDocument::FindSection(std::string_view section, size_t from) const {
    for (size_t i = from; i < lines_.size(); ++i) {
        auto name = SectionName(lines_[i]);
        if (!name || !EqualIgnoringCase(*name, Trim(section))) continue;
        size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end])) ++end;
        return CRange{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> CIniDocument::FindKey(const CRange& range, std::string_view key) const {
    for (size_t i = range.header + 1; i < range.end; ++i) {
        auto entry = ParseKeyLine(lines_[i]);
        if (entry && EqualIgnoringCase(entry->key, Trim(key))) return i;
    }
    return std::nullopt;
}

std::optional<std::string> CIniDocument::Value(std::string_view section, std::string_view key) const {
    auto range = FindSection(section);
    if (!range) return std::nullopt;
    auto index = FindKey(*range, key);
    if (!index) return std::nullopt;
    return std::string(ParseKeyLine(lines_[*index])->value);
}

std::vector<std::string> CIniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    auto range = FindSection(section);
    if (!range) return keys;
    // Names already listed, folded to lower case: a section of many keys must not compare each with all.
    std::unordered_set<std::string> seen;
    for (size_t i = range->header + 1; i < range->end; ++i) {
        auto entry = ParseKeyLine(lines_[i]);
        if (!entry) continue;
        std::string folded(entry->key);
        for (char& c : folded) c = static_cast<char>(FoldCase(c));
        if (seen.insert(std::move(folded)).second) keys.emplace_back(entry->key);
    }
    return keys;
}

bool CIniDocument::HasSection(std::string_view section) const { return FindSection(section).has_value(); }

bool CIniDocument::IsStorableKey(std::string_view key) {
    key = Trim(key);
    return !key.empty() && key.front() != '[' && key.front() != ';' &&
           key.find('=') == std::string_view::npos && !HasLineBreakOrNul(key);
}

bool CIniDocument::IsStorableValue(std::string_view value) { return !HasLineBreakOrNul(value); }

bool CIniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableKey(key) || !IsStorableValue(value)) return false;
    if (Trim(section).empty() || HasLineBreakOrNul(section) || section.find(']') != std::string_view::npos) {
        return false;
    }
    std::string line = std::string(Trim(key)) + "=" + std::string(value);
    auto range = FindSection(section);
    if (!range) {
        lines_.push_back("[" + std::string(Trim(section)) + "]");
        lines_.push_back(std::move(line));
        finalLineEnd_ = true;
        return true;
    }
    if (auto index = FindKey(*range, key)) {
        lines_[*index] = std::move(line);
        return true;
    }
    // New keys go after the section's last non-blank line, so blank lines that separate it from the
    // next section stay where they are.
    size_t insertAt = range->end;
    while (insertAt > range->header + 1 && Trim(lines_[insertAt - 1]).empty()) --insertAt;
    if (insertAt == lines_.size()) finalLineEnd_ = true;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

bool CIniDocument::DeleteKey(std::string_view section, std::string_view key) {
    bool deleted = false;
    size_t from = 0;
    while (auto range = FindSection(section, from)) {
        while (auto index = FindKey(*range, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
            --range->end;
            deleted = true;
        }
        from = range->end;
    }
    return deleted;
}

bool CIniDocument::DeleteSection(std::string_view section) {
    bool deleted = false;
    while (auto range = FindSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
        deleted = true;
    }
    if (lines_.empty()) finalLineEnd_ = true;
    return deleted;
}

}  // namespace tessera
