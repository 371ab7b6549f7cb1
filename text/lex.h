#pragma once
// CLex: the line-oriented tokenizer under every text reader (game files, XLife/RLE/Life, libraries,
// rule notation, attribute lines). It stands on the first token from the moment it is constructed.
// Lines are read whole, whatever their length: a fixed line buffer would turn a valid file with a long
// RLE or description line into a read error.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "text/syntax_exception.h"
#include "text/time_value.h"

namespace tessera {

// Token kinds. A kind below 256 is the character itself (characters above 127 give negative kinds).
inline constexpr int TokWord = 256;       // letter, '#' or '|' followed by letters, digits, '#', '|'
inline constexpr int TokNumber = 257;     // a run of decimal digits
inline constexpr int TokQuoted = 258;     // "..." including both quotes
inline constexpr int TokBracketed = 259;  // [...] including both brackets
inline constexpr int TokDigitLed = 260;   // for AcceptChar: any token whose text begins with a digit
inline constexpr int TokLetterLed = 261;  // ... with a letter
inline constexpr int TokAlnumLed = 262;   // ... with a letter or a digit
inline constexpr int TokEndOfLine = 263;  // end of the current line (line mode only)
inline constexpr int TokEndOfFile = 264;  // end of the input, first time
inline constexpr int TokPastEnd = 265;    // end of the input, asked for again

class CLex {
public:
    // Reads from a stream the caller keeps alive; fileName is for messages.
    CLex(std::istream& stream, std::string fileName);
    // Reads from a private copy of the text.
    explicit CLex(std::string_view text);
    CLex(const CLex&) = delete;
    CLex& operator=(const CLex&) = delete;

    int NextToken();
    int Kind() const { return kind_; }
    std::string TokenText() const { return line_.substr(tokenStart_, cursor_ - tokenStart_); }
    bool TokenBeginsWith(char c) const { return tokenStart_ < cursor_ && line_[tokenStart_] == c; }
    int32_t LineNumber() const { return lineNumber_; }
    // The whole current line as read (for messages that quote it).
    const std::string& LineText() const { return line_; }
    const std::string& FileName() const { return fileName_; }
    // How many lines beginning with '!' were dropped as comments so far: RLE data wrapped at a fixed
    // column may put its closing '!' first on a line.
    uint32_t ExclamationLines() const { return exclamationLines_; }

    // Each returns the previous mode. Changing the word mode scans the current token again.
    bool SetLineMode(bool on);
    bool SetWordMode(bool on);

    // The text from the current token to the end of its line; the next token is the line's end.
    std::string_view RestOfLine();

    // Acceptors move to the next token only when they match and consume is set.
    bool AcceptChar(int kind, bool consume = true);
    bool AcceptKeyword(std::string_view word, bool consume = true);
    bool AcceptNameEqual(std::string_view text, bool consume = true);
    // An optional sign and the digits after it, read from the line whatever the tokens are. A value
    // that does not fit throws CNumberRangeException at the current line.
    [[nodiscard]] bool ReadSignedNumber(int32_t& out, bool consume = true);
    [[nodiscard]] bool ReadUnsignedNumber(uint32_t& out, bool consume = true);
    // The same, for values within +-kMaxWideNumber (numbers one beyond the 32-bit range, such as the
    // file number of the last generation a game can reach).
    static constexpr uint64_t kMaxWideNumber = uint64_t{1} << 59;
    [[nodiscard]] bool ReadWideNumber(int64_t& out, bool consume = true);
    bool ReadQuoted(std::string& out, bool consume = true);
    bool ReadName(std::string& out, bool consume = true);
    // name = value: the value is the rest of the line as written, empty when absent.
    bool ReadNameValue(std::string& name, std::string& value, bool consume = true);

    // Expectations throw CSyntaxException at the current line when they do not match.
    void ExpectChar(int kind);
    void ExpectKeyword(std::string_view word);
    void ExpectSigned(int32_t& out);
    void ExpectSignedInt(int& out);
    void ExpectUnsigned(uint32_t& out);
    [[noreturn]] void SyntaxError() const;

    void SkipLine();
    void SkipToEnd();

    // Six numbers: year, month, day, hour, minute, second, separated by blanks only; local time.
    void ReadDateTime(CTime& out);

private:
    bool ReadLine();
    void ScanToken();
    bool ScanSigned(int64_t& out, uint64_t largest, bool consume);
    bool AtInputEnd() const { return kind_ == TokEndOfFile || kind_ == TokPastEnd; }
    void RescanAt(size_t position);

    std::unique_ptr<std::istream> ownedStream_;
    std::istream* stream_;
    std::string fileName_;
    std::string line_;
    std::string physical_;  // the text up to the next line feed, when it holds further lines
    size_t physicalPosition_ = 0;
    bool physicalPending_ = false;
    size_t tokenStart_ = 0;
    size_t cursor_ = 0;
    int kind_ = 0;
    int32_t lineNumber_ = 0;
    uint32_t exclamationLines_ = 0;
    bool lineMode_ = false;
    bool wordMode_ = true;
};

}  // namespace tessera
