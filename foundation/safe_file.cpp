#include "foundation/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string_view>
#include <vector>

#include "foundation/errors.h"
#include "foundation/messages.h"

namespace tessera {
namespace fs = std::filesystem;

// A stream buffer over a file descriptor that keeps the system's error number of the first failure, so
// that the message can say "No space left on device" rather than only that something went wrong.
class CSafeFileWriter::CDescriptorBuffer : public std::streambuf {
public:
    explicit CDescriptorBuffer(int fd) : fd_(fd), buffer_(kBufferSize) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    ~CDescriptorBuffer() override { Close(); }

    int Error() const { return error_; }
    int Descriptor() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        const bool closed = ::close(fd_) == 0;
        if (!closed && error_ == 0) error_ = errno;
        fd_ = -1;
        return closed;
    }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    static constexpr size_t kBufferSize = size_t{1} << 16;

    bool Drain() {
        std::string_view pending(pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        if (error_ != 0 || fd_ < 0) return false;
        while (!pending.empty()) {
            const ssize_t written = ::write(fd_, pending.data(), pending.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                error_ = errno;
                return false;
            }
            pending.remove_prefix(static_cast<size_t>(written));
        }
        return true;
    }

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

namespace {

// Edits through a symbolic link land in the file it points to, leaving the link in place.
fs::path ResolveLink(const fs::path& file) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return file;
    fs::path target = fs::canonical(file, error);
    return error ? file : target;
}

// Makes the rename itself durable; a failure here leaves a complete file either way, so it is ignored.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The permissions a newly created file gets: read and write for all, less the process's mask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

CSafeFileWriter::CSafeFileWriter(const fs::path& target)
    : targetName_(target.string()), target_(ResolveLink(target)) {
    temporaryPath_ = target_.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporaryPath_.data());
    if (fd < 0) {
        const int error = errno;
        temporaryPath_.clear();
        Fail(error);
    }
    buffer_ = std::make_unique<CDescriptorBuffer>(fd);
    stream_ = std::make_unique<std::ostream>(buffer_.get());
}

CSafeFileWriter::~CSafeFileWriter() {
    stream_.reset();
    buffer_.reset();
    if (!committed_ && !temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

std::ostream& CSafeFileWriter::Stream() { return *stream_; }

void CSafeFileWriter::Fail(int error) { throw CFileException(msg::FileNotWritten, targetName_, error); }

void CSafeFileWriter::Commit() {
    stream_->flush();
    if (!*stream_) Fail(buffer_->Error() != 0 ? buffer_->Error() : EIO);
    struct stat existing {};
    const mode_t mode = ::stat(target_.c_str(), &existing) == 0 ? existing.st_mode & 07777 : NewFileMode();
    if (::fchmod(buffer_->Descriptor(), mode) != 0) Fail(errno);
    if (::fsync(buffer_->Descriptor()) != 0) Fail(errno);
    if (!buffer_->Close()) Fail(buffer_->Error());
    if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) Fail(errno);
    committed_ = true;
    fs::path folder = target_.parent_path();
    SyncFolder(folder.empty() ? fs::path(".") : folder);
}

void WriteFileSafely(const fs::path& target, const std::function<void(std::ostream&)>& write) {
    CSafeFileWriter file(target);
    write(file.Stream());
    file.Commit();
}

CFileException::CFileException(int messageId, std::string fileName, int error)
    : CErrorException(messageId),
      fileName_(std::move(fileName)),
      error_(error),
      text_(FormatMessage(messageId, fileName_, std::strerror(error))) {}

}  // namespace tessera
