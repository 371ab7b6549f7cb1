#pragma once
// Replacing a file so that no failure can damage it: the new content goes to a temporary file in the
// target's folder, is flushed to disk and only then renamed over the target. At every moment the target
// is either the old file or the complete new one; a failed write (full disk, quota, a writer that
// throws) removes the temporary file, leaves the target as it was and says why, naming the file.
// A target that is not a regular file (a device, a pipe, /dev/stdout) is not replaced but written to.
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "foundation/errors.h"

namespace tessera {

// A file could not be opened or written. The text names the file and gives the system's reason
// ("No such file or directory"); messageId is msg::FileNotOpened or msg::FileNotWritten.
class CFileException : public CErrorException {
public:
    CFileException(int messageId, std::string fileName, int error);
    const std::string& FileName() const { return fileName_; }
    int SystemError() const { return error_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string fileName_;
    int error_;
    std::string text_;
};

// A message's text with the system's reason for a failure after it ("...: No space left on device"),
// before a closing full stop.
std::string WithSystemReason(std::string text, int error);

// One replacement in progress. Destroying it without Commit removes the temporary file.
class CSafeFileWriter {
public:
    // Creates the temporary file, with the permissions of the file it will replace. A symbolic link as
    // target is written through: the file it finally names is replaced and the link stays. A target that
    // exists and is not a regular file is opened for writing instead. Throws CFileException when the
    // target is a file the user may not write, or no temporary file can be made beside it (the old file
    // is not then written in place: a failure could no longer leave it whole).
    explicit CSafeFileWriter(const std::filesystem::path& target);
    ~CSafeFileWriter();
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Where the content goes. A failing write sets the stream's bad bit; Commit then reports it.
    std::ostream& Stream();
    // The temporary file's name, for a signal handler that wants to remove it; empty when the target is
    // written to directly.
    const std::string& TemporaryPath() const { return temporaryPath_; }
    // Flushes the content to disk and renames it over the target. Throws CFileException on any failure.
    void Commit();

private:
    class CDescriptorBuffer;
    [[noreturn]] void Fail(int error);

    std::string targetName_;  // as the caller named it, for messages
    std::filesystem::path target_;
    std::string temporaryPath_;
    std::unique_ptr<CDescriptorBuffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool direct_ = false;  // the target itself is written, not replaced
    bool committed_ = false;
};

// The whole replacement in one call: write puts the complete content to the stream. Anything write
// throws passes through after the temporary file has been removed.
void WriteFileSafely(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);

}  // namespace tessera
