#pragma once
// CEnumeration<E>: an enumeration value written and read as a word of a name table such as
// "|still|oscillator|ship|final|" (the first character is the separator; value n is the n-th name).
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace tessera {

template <class E>
class CEnumeration {
public:
    CEnumeration(std::string_view table, E value = E{}) : table_(table), value_(value) {}

    E Value() const { return value_; }
    void SetValue(E value) { value_ = value; }
    CEnumeration& operator=(E value) {
        value_ = value;
        return *this;
    }

    // The name of the value, or empty when the value lies beyond the table.
    std::string_view Name() const {
        if (table_.empty() || static_cast<long long>(value_) < 0) return {};
        const char separator = table_[0];
        size_t begin = 1;
        for (long long n = static_cast<long long>(value_); n > 0; --n) {
            const size_t next = table_.find(separator, begin);
            if (next == std::string_view::npos) return {};
            begin = next + 1;
        }
        const size_t end = table_.find(separator, begin);
        if (end == std::string_view::npos) return {};
        return table_.substr(begin, end - begin);
    }

    // Exact, case-sensitive lookup of a whole name; a word that stands nowhere in the table gives 0.
    void SetFromName(std::string_view word) {
        value_ = E{};
        if (table_.empty()) return;
        const char separator = table_[0];
        const std::string wanted = std::string(word) + separator;
        long long index = 0;
        for (size_t at = 1; at <= table_.size(); ++index) {
            if (table_.substr(at).starts_with(wanted)) {
                value_ = static_cast<E>(index);
                return;
            }
            const size_t next = table_.find(separator, at);
            if (next == std::string_view::npos) return;
            at = next + 1;
        }
    }

    friend std::ostream& operator<<(std::ostream& out, const CEnumeration& e) { return out << e.Name(); }
    // Takes the characters up to the next blank or the end of the text.
    friend std::istream& operator>>(std::istream& in, CEnumeration& e) {
        std::string word;
        in >> word;
        e.SetFromName(word);
        return in;
    }

private:
    std::string_view table_;  // a string literal that outlives every value
    E value_;
};

}  // namespace tessera
