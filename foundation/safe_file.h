#pragma once
// Replacing a file so that no failure can damage it: the new content goes to a temporary file in the
// target's folder, is flushed to disk and only then renamed over the target. At every moment the target
// is either the old file or the complete new one; a failed write (full disk, quota, a writer that
// throws) removes the temporary file, leaves the target as it was and says why, naming the file.
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

// One replacement in progress. Destroying it without Commit removes the temporary file.
class CSafeFileWriter {
public:
    // Creates the temporary file. A symbolic link as target is written through: the file it points to is
    // replaced and the link stays. Throws CFileException when the folder refuses.
    explicit CSafeFileWriter(const std::filesystem::path& target);
    ~CSafeFileWriter();
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Where the content goes. A failing write sets the stream's bad bit; Commit then reports it.
    std::ostream& Stream();
    // The temporary file's name, for a signal handler that wants to remove it.
    const std::string& TemporaryPath() const { return temporaryPath_; }
    // Flushes the content to disk and renames it over the target, keeping the target's permissions
    // (a new file gets the usual ones). Throws CFileException on any failure.
    void Commit();

private:
    class CDescriptorBuffer;
    [[noreturn]] void Fail(int error);

    std::string targetName_;  // as the caller named it, for messages
    std::filesystem::path target_;
    std::string temporaryPath_;
    std::unique_ptr<CDescriptorBuffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool committed_ = false;
};

// The whole replacement in one call: write puts the complete content to the stream. Anything write
// throws passes through after the temporary file has been removed.
void WriteFileSafely(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);

}  // namespace tessera
