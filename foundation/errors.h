#pragma once
// The program's exceptions. Expected outcomes are message numbers returned by operations; these are
// for operations that cannot complete.
#include <stdexcept>
#include <string>

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

// Message numbers used across subsystems.
namespace msg {
inline constexpr int ErrorReadingFile = 1013;
inline constexpr int CannotModifyGeneration = 1015;
inline constexpr int GameTooBig = 1016;
inline constexpr int GameTooOld = 1017;
inline constexpr int NothingToGrow = 1018;
inline constexpr int OutOfMemory = 1019;
inline constexpr int OutOfResources = 1020;
inline constexpr int UnexpectedError = 1021;
}  // namespace msg

}  // namespace tessera
