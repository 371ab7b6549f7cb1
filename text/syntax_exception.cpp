#include "text/syntax_exception.h"

#include <string>

namespace tessera {

CSyntaxException::CSyntaxException(int32_t lineNumber)
    : std::runtime_error("Syntax or other error in input file at line " + std::to_string(lineNumber)),
      lineNumber_(lineNumber) {}

}  // namespace tessera
