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
