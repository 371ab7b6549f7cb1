#include "config/param.h"

#include <array>

#include "config/decimal_text.h"
#include "config/ini_file.h"

namespace tessera {
namespace {

constexpr std::string_view kParametersSection = "Parameters";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string CParam::GetText() {
    if (!text_) {
        // An over-long or invalid value in the file is ignored silently in favour of the default.
        auto fileValue = ReadIniValue(kParametersSection, key_);
        if (fileValue && !fileValue->empty() && fileValue->size() <= kMaxTextLength && IsValid(*fileValue)) {
            text_ = std::move(*fileValue);
        } else {
            text_ = DefaultText();
        }
        valueCached_ = false;
    }
    return *text_;
}

bool CParam::Set(std::string_view text) {
    if (text.size() >= kMaxTextLength || !IsValid(text)) return false;
    text_ = std::string(text);
    dirty_ = true;
    valueCached_ = false;
    return true;
}

bool CParam::SetInt(int32_t value) { return Set(std::to_string(value)); }

bool CParam::SetUInt(uint32_t value) { return Set(std::to_string(value)); }

void CParam::SaveTo(CIniDocument& document) const {
    if (!dirty_ || !text_) return;
    if (*text_ == DefaultText()) {
        document.DeleteKey(kParametersSection, key_);
    } else {
        document.SetValue(kParametersSection, key_, *text_);
    }
}

bool CParam::Save() {
    if (!dirty_) return true;
    const auto file = ConfigFilePath();
    CIniDocument document = LoadIniFile(file);
    const std::string before = document.Serialize();
    SaveTo(document);
    // Removing a key that is not in the file needs no write (and creates no file).
    if (document.Serialize() != before && !StoreIniFile(file, document)) return false;
    dirty_ = false;
    return true;
}

void CParam::Reset() {
    text_.reset();
    dirty_ = false;
    valueCached_ = false;
}

namespace {

std::optional<int32_t> ParseDecimal(std::string_view text, int32_t) { return ParseSignedDecimal(text); }
std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t) { return ParseUnsignedDecimal(text); }

}  // namespace

template <class T>
bool CParamNumber<T>::IsValid(std::string_view text) const {
    auto value = ParseDecimal(text, T{});
    return value && *value >= min_ && *value <= max_;
}

template <class T>
T CParamNumber<T>::GetNumber() {
    const std::string text = GetText();
    if (!valueCached_) {
        value_ = ParseDecimal(text, T{}).value_or(0);
        valueCached_ = true;
    }
    return value_;
}

template class CParamNumber<int32_t>;
template class CParamNumber<uint32_t>;

bool CParamString::IsValid(std::string_view text) const {
    return text.size() < kMaxTextLength && CIniDocument::IsStorableValue(text);
}

std::optional<uint32_t> CParamColor::ParseColor(std::string_view text) {
    std::array<uint32_t, 3> parts{};
    size_t count = 0;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    while (i < text.size()) {
        if (count == parts.size()) return std::nullopt;
        if (count > 0) {
            // Numbers are separated by at least one blank; nothing may follow the last one.
            if (!IsBlank(text[i])) return std::nullopt;
            while (i < text.size() && IsBlank(text[i])) ++i;
            if (i == text.size()) return std::nullopt;
        }
        const size_t firstDigit = i;
        uint32_t value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
            if (value > 255) return std::nullopt;
        }
        if (i == firstDigit) return std::nullopt;
        parts[count++] = value;
    }
    if (count == 1) return parts[0] * 0x010101u;
    if (count == 3) return parts[0] + (parts[1] << 8) + (parts[2] << 16);
    return std::nullopt;
}

bool CParamColor::IsValid(std::string_view text) const { return ParseColor(text).has_value(); }

uint32_t CParamColor::GetColor() {
    const std::string text = GetText();
    if (!valueCached_) {
        value_ = ParseColor(text).value_or(0);
        valueCached_ = true;
    }
    return value_;
}

bool CParamColor::SetColor(uint32_t color) {
    return Set(std::to_string(color & 0xFF) + " " + std::to_string((color >> 8) & 0xFF) + " " +
               std::to_string((color >> 16) & 0xFF));
}

}  // namespace tessera
