#pragma once
// The file a command's --output names: replaced only once the new content is complete, so that a failed
// write or a signal leaves the old file, and a failure is told on standard error with its reason.
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tessera::cli {

// Writes the content that write puts to the stream into the file; false (after saying why, behind the
// command's prefix) when it could not be written.
[[nodiscard]] bool WriteOutputFile(const std::string& fileName, std::string_view prefix,
                                   const std::function<void(std::ostream&)>& write);

}  // namespace tessera::cli
