#pragma once
// A malformed input: carries the number of the line at which reading failed.
#include <cstdint>
#include <stdexcept>

namespace tessera {

class CSyntaxException : public std::runtime_error {
public:
    explicit CSyntaxException(int32_t lineNumber);
    int32_t LineNumber() const { return lineNumber_; }

private:
    int32_t lineNumber_;
};

}  // namespace tessera

namespace tessera {

// A number of the input too large for what it stands for. It is a syntax error of its line; a reader
// that tries a line in several forms must not take it for "not this form" and read the line otherwise.
class CNumberRangeException : public CSyntaxException {
public:
    using CSyntaxException::CSyntaxException;
};

}  // namespace tessera
