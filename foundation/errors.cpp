#include "foundation/errors.h"

#include "foundation/messages.h"

namespace tessera {

CErrorException::CErrorException(int messageId)
    : std::runtime_error(std::string(MessageText(messageId))), messageId_(messageId) {}

CErrorException::CErrorException(int messageId, const std::string& detail)
    : std::runtime_error(std::string(MessageText(messageId)) + (detail.empty() ? "" : " (" + detail + ")")),
      messageId_(messageId) {}

CMemoryException::CMemoryException() : CErrorException(msg::OutOfMemory) {}

}  // namespace tessera
