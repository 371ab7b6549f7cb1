#pragma once
// The program's exceptions. Expected outcomes are message numbers returned by operations; these are
// for operations that cannot complete.
#include <stdexcept>
#include <string>

#include "foundation/messages.h"

namespace tessera {

// An operation failed with a message of the string table (see messages.h).
class CErrorException : public std::runtime_error {
public:
    explicit CErrorException(int messageId);
    CErrorException(int messageId, const std::string& detail);
    int MessageId() const { return messageId_; }

private:
    int messageId_;
};

// Memory ran out, after memory recovery had its chance.
class CMemoryException : public CErrorException {
public:
    CMemoryException();
};

}  // namespace tessera
