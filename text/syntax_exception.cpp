#include "text/syntax_exception.h"

#include <string>

#include "foundation/messages.h"

namespace tessera {

CSyntaxException::CSyntaxException(int32_t lineNumber)
    : std::runtime_error(FormatMessage(msg::SyntaxErrorAtLine, std::to_string(lineNumber))),
      lineNumber_(lineNumber) {}

}  // namespace tessera
