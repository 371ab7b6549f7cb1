#include "text/lex.h"

#include <sstream>

#include "foundation/errors.h"
#include "text/lex_attribute.h"
#include "text/line_reader.h"

namespace tessera {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordStart(char c) { return IsLetter(c) || c == '#' || c == '|'; }
bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

CLex::CLex(std::istream& stream, std::string fileName) : stream_(&stream), fileName_(std::move(fileName)) {
    NextToken();
}

CLex::CLex(std::string_view text)
    : ownedStream_(std::make_unique<std::istringstream>(std::string(text))), stream_(ownedStream_.get()) {
    NextToken();
}

// A byte-order mark some editors put before the first line.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Lines end with a line feed, a carriage return and line feed, or a carriage return alone (as old Mac
// editors write them): the text read up to a line feed is handed out one carriage return at a time.
bool CLex::ReadLine() {
    if (!physicalPending_) {
        if (stream_->eof()) return false;
        if (!*stream_) throw CErrorException(msg::ErrorReadingFile, fileName_);
        ReadBoundedLine(*stream_, physical_, MaxLineLength());
        if (stream_->bad()) throw CErrorException(msg::ErrorReadingFile, fileName_);
        if (stream_->fail()) {
            // Nothing was left to read: the previous line ended with the last newline of the input.
            line_.clear();
            tokenStart_ = cursor_ = 0;
            return false;
        }
        if (lineNumber_ == 0 && std::string_view(physical_).starts_with(kUtf8ByteOrderMark))
            physical_.erase(0, kUtf8ByteOrderMark.size());
        physicalPending_ = true;
        physicalPosition_ = 0;
    }
    const size_t cr = physical_.find('\r', physicalPosition_);
    if (cr == std::string::npos || cr + 1 == physical_.size()) {
        if (physicalPosition_ == 0 && cr == std::string::npos) {
            line_.swap(physical_);
        } else {
            line_.assign(physical_, physicalPosition_,
                         cr == std::string::npos ? std::string::npos : cr - physicalPosition_);
        }
        physicalPending_ = false;
    } else {
        line_.assign(physical_, physicalPosition_, cr - physicalPosition_);
        physicalPosition_ = cr + 1;
    }
    ++lineNumber_;
    // Text after a NUL character is not part of the line, as in a C string.
    if (size_t nul = line_.find('\0'); nul != std::string::npos) line_.resize(nul);
    if (!line_.empty() && (line_[0] == '!' || line_[0] == '|')) {  // a comment line
        if (line_[0] == '!') ++exclamationLines_;
        line_.clear();
    }
    tokenStart_ = cursor_ = 0;
    return true;
}

int CLex::NextToken() {
    for (;;) {
        while (cursor_ < line_.size() && IsBlank(line_[cursor_])) ++cursor_;
        if (cursor_ < line_.size()) {
            ScanToken();
            return kind_;
        }
        // The end of the input is not followed by an end of line, or line mode would never get past it.
        if (lineMode_ && kind_ != TokEndOfLine && !AtInputEnd()) {
            tokenStart_ = cursor_;
            kind_ = TokEndOfLine;
            return kind_;
        }
        if (!ReadLine()) break;
    }
    tokenStart_ = cursor_;
    if (kind_ == TokEndOfFile) {
        kind_ = TokPastEnd;
    } else if (kind_ == TokPastEnd) {
        SyntaxError();  // the reader asked past the end twice
    } else {
        kind_ = TokEndOfFile;
    }
    return kind_;
}

void CLex::ScanToken() {
    if (AtInputEnd()) return;
    tokenStart_ = cursor_;
    const char c = line_[cursor_++];
    if (wordMode_ && IsWordStart(c)) {
        while (cursor_ < line_.size() && IsWordChar(line_[cursor_])) ++cursor_;
        kind_ = TokWord;
    } else if (wordMode_ && IsDigit(c)) {
        while (cursor_ < line_.size() && IsDigit(line_[cursor_])) ++cursor_;
        kind_ = TokNumber;
    } else if (c == '[' || c == '"') {
        const size_t close = line_.find(c == '[' ? ']' : '"', cursor_);
        cursor_ = close == std::string::npos ? line_.size() : close + 1;  // unterminated: to the line's end
        kind_ = c == '[' ? TokBracketed : TokQuoted;
    } else {
        // A single character is its own kind, read as a signed byte: bytes above 127 give negative kinds,
        // apart from every named token kind.
        kind_ = static_cast<signed char>(c);  // NOLINT(bugprone-signed-char-misuse)
    }
}

void CLex::RescanAt(size_t position) {
    if (AtInputEnd() || position >= line_.size()) return;
    cursor_ = position;
    ScanToken();
}

bool CLex::SetLineMode(bool on) {
    const bool previous = lineMode_;
    lineMode_ = on;
    return previous;
}

bool CLex::SetWordMode(bool on) {
    const bool previous = wordMode_;
    wordMode_ = on;
    if (kind_ != TokEndOfLine) RescanAt(tokenStart_);
    return previous;
}

std::string_view CLex::RestOfLine() {
    std::string_view rest(line_);
    rest.remove_prefix(tokenStart_);
    cursor_ = line_.size();
    return rest;
}

bool CLex::AcceptChar(int kind, bool consume) {
    bool match = kind_ == kind;
    if (!match && tokenStart_ < cursor_) {
        const char c = line_[tokenStart_];
        match = (kind == TokDigitLed && IsDigit(c)) || (kind == TokLetterLed && IsLetter(c)) ||
                (kind == TokAlnumLed && (IsLetter(c) || IsDigit(c)));
    }
    if (match && consume) NextToken();
    return match;
}

bool CLex::AcceptKeyword(std::string_view word, bool consume) {
    if (kind_ != TokWord || std::string_view(line_).substr(tokenStart_, cursor_ - tokenStart_) != word)
        return false;
    if (consume) NextToken();
    return true;
}

bool CLex::AcceptNameEqual(std::string_view text, bool consume) {
    std::string name;
    if (!ReadName(name, false) || !NamesMatch(name, text)) return false;
    if (consume) NextToken();
    return true;
}

bool CLex::ScanSigned(int64_t& out, uint64_t largest, bool consume) {
    if (tokenStart_ >= cursor_ || AtInputEnd()) return false;
    size_t p = tokenStart_;
    const bool negative = line_[p] == '-';
    if (line_[p] == '-' || line_[p] == '+') ++p;
    if (p >= line_.size() || !IsDigit(line_[p])) return false;
    // A number too large for what it stands for must not turn into another number silently.
    uint64_t value = 0;
    for (; p < line_.size() && IsDigit(line_[p]); ++p) {
        value = value * 10 + static_cast<uint64_t>(line_[p] - '0');
        if (value > largest + (negative ? 1 : 0)) throw CNumberRangeException(lineNumber_);
    }
    out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    if (consume) {
        cursor_ = p;
        NextToken();
    }
    return true;
}

bool CLex::ReadSignedNumber(int32_t& out, bool consume) {
    int64_t value = 0;
    if (!ScanSigned(value, INT32_MAX, consume)) return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool CLex::ReadWideNumber(int64_t& out, bool consume) { return ScanSigned(out, kMaxWideNumber, consume); }

bool CLex::ReadUnsignedNumber(uint32_t& out, bool consume) {
    if (tokenStart_ >= cursor_ || AtInputEnd() || !IsDigit(line_[tokenStart_])) return false;
    uint64_t value = 0;
    for (size_t p = tokenStart_; p < cursor_ && IsDigit(line_[p]); ++p) {
        value = value * 10 + static_cast<uint64_t>(line_[p] - '0');
        if (value > UINT32_MAX) throw CNumberRangeException(lineNumber_);
    }
    out = static_cast<uint32_t>(value);
    if (consume) NextToken();
    return true;
}

bool CLex::ReadQuoted(std::string& out, bool consume) {
    if (kind_ != TokQuoted && kind_ != TokBracketed) return false;
    const char close = kind_ == TokQuoted ? '"' : ']';
    size_t begin = tokenStart_ + 1;
    size_t end = cursor_;
    if (end > begin && line_[end - 1] == close) --end;  // an unterminated token has no closing delimiter
    out = line_.substr(begin, end - begin);
    if (consume) NextToken();
    return true;
}

bool CLex::ReadName(std::string& out, bool consume) {
    if (kind_ == TokWord) {
        out = TokenText();
    } else if (kind_ == TokBracketed) {
        out.clear();
        for (size_t p = tokenStart_ + 1; p < cursor_; ++p)
            if (line_[p] != ']') out += line_[p];
    } else {
        return false;
    }
    if (consume) NextToken();
    return true;
}

bool CLex::ReadNameValue(std::string& name, std::string& value, bool consume) {
    const bool savedLineMode = SetLineMode(true);
    const size_t start = tokenStart_;
    const int32_t startLine = lineNumber_;
    if (!ReadName(name, true)) {
        SetLineMode(savedLineMode);
        return false;
    }
    value.clear();
    if (kind_ == '=') {
        NextToken();
        if (kind_ != TokEndOfLine && !AtInputEnd()) {
            value = std::string(RestOfLine());
            NextToken();
        }
    }
    // In line mode the name's line is still the current one, so its start can be scanned again.
    if (!consume && lineNumber_ == startLine) RescanAt(start);
    SetLineMode(savedLineMode);
    return true;
}

void CLex::ExpectChar(int kind) {
    if (!AcceptChar(kind, true)) SyntaxError();
}

void CLex::ExpectKeyword(std::string_view word) {
    if (!AcceptKeyword(word, true)) SyntaxError();
}

void CLex::ExpectSigned(int32_t& out) {
    if (!ReadSignedNumber(out, true)) SyntaxError();
}

void CLex::ExpectSignedInt(int& out) {
    int32_t value = 0;
    if (!ReadSignedNumber(value, true)) SyntaxError();
    out = value;
}

void CLex::ExpectUnsigned(uint32_t& out) {
    if (!ReadUnsignedNumber(out, true)) SyntaxError();
}

void CLex::SyntaxError() const { throw CSyntaxException(lineNumber_); }

void CLex::SkipLine() {
    cursor_ = line_.size();
    const bool savedLineMode = SetLineMode(false);
    NextToken();
    SetLineMode(savedLineMode);
}

void CLex::SkipToEnd() {
    while (!AtInputEnd()) NextToken();
}

void CLex::ReadDateTime(CTime& out) {
    int32_t fields[6];
    for (int32_t& field : fields) ExpectSigned(field);
    out = CTime::FromLocal(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
}

}  // namespace tessera
