#pragma once
// CName: the key of every named dictionary (games, rules, neighbourhoods). Names compare ignoring
// case and blanks, so "von Neumann" and "vonNeumann" are the same name.
#include <string>
#include <string_view>

namespace tessera {

// Negative, 0 or positive as the stored name a sorts before, with or after the name b.
int CompareNames(std::string_view a, std::string_view b);

class CName {
public:
    CName() = default;
    CName(std::string text) : text_(std::move(text)) {}
    CName(const char* text) : text_(text) {}

    const std::string& Text() const { return text_; }
    bool IsEmpty() const { return text_.empty(); }

    int Compare(const CName& other) const { return CompareNames(text_, other.text_); }
    friend bool operator==(const CName& a, const CName& b) { return a.Compare(b) == 0; }
    friend bool operator<(const CName& a, const CName& b) { return a.Compare(b) < 0; }

private:
    std::string text_;
};

}  // namespace tessera
