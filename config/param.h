#pragma once
// Parameter objects: one setting of the "Parameters" section of the configuration file, with its key,
// validity rule and default. The value is read from the file on first use, checked (a value the rule
// refuses silently gives the default), cached, and written back by Save only after a change — and
// then as a removal of the key when the value equals the default.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// The source of a parameter's default text.
class CDefault {
public:
    virtual ~CDefault() = default;
    virtual std::string GetDefault() const = 0;
};

class CDefaultString : public CDefault {
public:
    constexpr explicit CDefaultString(const char* text) : text_(text) {}
    std::string GetDefault() const override { return text_; }

private:
    const char* text_;
};

class CIniDocument;

class CParam {
public:
    // Texts of this many characters or more are never taken, from the file or from Set.
    static constexpr size_t kMaxTextLength = 79;

    // Constant initialisation lets the static parameter objects be used from any point of the program.
    constexpr CParam(const char* key, const char* defaultText)
        : key_(key), ownDefault_(defaultText), defaultSource_(&ownDefault_) {}
    constexpr CParam(const char* key, const CDefault& defaultSource)
        : key_(key), ownDefault_(""), defaultSource_(&defaultSource) {}
    virtual ~CParam() = default;
    CParam(const CParam&) = delete;
    CParam& operator=(const CParam&) = delete;

    const char* Key() const { return key_; }
    std::string DefaultText() const { return defaultSource_->GetDefault(); }
    bool IsDirty() const { return dirty_; }

    // The cached text; on first use the file's value when it is valid, otherwise the default.
    std::string GetText();
    virtual bool IsValid(std::string_view text) const = 0;
    // Takes a valid text shorter than kMaxTextLength characters and marks the parameter changed;
    // refuses anything else (false, nothing changes).
    virtual bool Set(std::string_view text);
    bool SetInt(int32_t value);
    bool SetUInt(uint32_t value);

    // Writes a changed value to the configuration file (removing the key when the value is the
    // default). False when the file could not be written; the parameter then stays changed.
    bool Save();
    // Records the change in a document being prepared for one write (see SaveAllParameters).
    void SaveTo(CIniDocument& document) const;
    void MarkSaved() { dirty_ = false; }

    // Forgets the cached value and any unsaved change: the next read goes to the file again.
    void Reset();

protected:
    bool valueCached_ = false;  // the typed value of a derived class matches the cached text

private:
    const char* key_;
    CDefaultString ownDefault_;
    const CDefault* defaultSource_;
    std::optional<std::string> text_;  // nothing until first read or after a reset
    bool dirty_ = false;
};

// A whole decimal number within [min, max]; T is int32_t (CParamInt) or uint32_t (CParamUInt).
template <class T>
class CParamNumber : public CParam {
public:
    constexpr CParamNumber(const char* key, const char* defaultText, T min, T max)
        : CParam(key, defaultText), min_(min), max_(max) {}
    constexpr CParamNumber(const char* key, const CDefault& defaultSource, T min, T max)
        : CParam(key, defaultSource), min_(min), max_(max) {}
    bool IsValid(std::string_view text) const override;
    T Min() const { return min_; }
    T Max() const { return max_; }

protected:
    // The value of the current text, converted once per change of the text.
    T GetNumber();

private:
    T min_;
    T max_;
    T value_ = 0;
};

extern template class CParamNumber<int32_t>;
extern template class CParamNumber<uint32_t>;

class CParamInt : public CParamNumber<int32_t> {
public:
    using CParamNumber::CParamNumber;
    int32_t GetInt() { return GetNumber(); }
};

class CParamUInt : public CParamNumber<uint32_t> {
public:
    using CParamNumber::CParamNumber;
    uint32_t GetUInt() { return GetNumber(); }
};

class CParamString : public CParam {
public:
    using CParam::CParam;
    // Fewer than kMaxTextLength characters, and no line break or NUL (the file holds one line per key).
    bool IsValid(std::string_view text) const override;
};

// A colour as "r g b" (three decimals 0..255 separated by blanks) or "n" (the grey n n n).
class CParamColor : public CParam {
public:
    using CParam::CParam;
    bool IsValid(std::string_view text) const override;
    // The 24-bit colour r + 256 g + 65536 b.
    uint32_t GetColor();
    // Sets the colour written as "r g b".
    bool SetColor(uint32_t color);

    [[nodiscard]] static std::optional<uint32_t> ParseColor(std::string_view text);

private:
    uint32_t value_ = 0;
};

}  // namespace tessera
