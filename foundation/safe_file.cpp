#include "foundation/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
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

// More links in a row than this is a loop, as the system counts.
constexpr int kMaxLinks = 40;

// Where a path naming the file should be written. Links are followed to the file they finally name so that
// the link stays; a link the system keeps for one of our own open descriptors (/dev/stdout, /dev/fd/1)
// names that descriptor: writing there must share the descriptor's place in its file.
struct CTarget {
    fs::path file;
    int descriptor = -1;
};

std::optional<CTarget> ResolveTarget(const fs::path& given) {
    const fs::path ownDescriptors = fs::path("/proc") / std::to_string(::getpid()) / "fd";
    fs::path file = given;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(file, error))) return CTarget{file};
        const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
        if (fs::canonical(folder, error) == ownDescriptors && !error) {
            const std::string name = file.filename().string();
            int descriptor = 0;
            const auto [end, problem] = std::from_chars(name.data(), name.data() + name.size(), descriptor);
            if (problem == std::errc() && end == name.data() + name.size()) return CTarget{file, descriptor};
        }
        const fs::path next = fs::read_symlink(file, error);
        if (error) return CTarget{file};
        file = next.is_absolute() ? next : folder / next;
    }
    return std::nullopt;
}

// Makes the rename itself durable; a failure here leaves a complete file either way, so it is ignored.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

CSafeFileWriter::CSafeFileWriter(const fs::path& target) : targetName_(target.string()) {
    const std::optional<CTarget> resolved = ResolveTarget(target);
    if (!resolved) Fail(ELOOP);
    target_ = resolved->file;
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    int fd = -1;
    if (resolved->descriptor >= 0) {
        fd = ::fcntl(resolved->descriptor, F_DUPFD_CLOEXEC, 0);
        direct_ = true;
    } else if (exists && !S_ISREG(existing.st_mode)) {
        // A device, a pipe or a socket is not a file to replace: what it receives goes straight to it.
        fd = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        direct_ = true;
    } else {
        // A file the user may not write is refused rather than replaced behind its permissions.
        if (exists && ::access(target_.c_str(), W_OK) != 0) Fail(errno);
        temporaryPath_ = target_.string() + ".XXXXXX";
        fd = ::mkostemp(temporaryPath_.data(), O_CLOEXEC);
        if (fd < 0) temporaryPath_.clear();
        // The replacement keeps the old file's permissions and, where the system allows, its owner.
        // Only the superuser may give a file away: a failure leaves the writer's own file, as usual.
        if (fd >= 0 && exists) {
            [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        }
        if (fd >= 0) ::fchmod(fd, exists ? existing.st_mode & 07777 : NewFileMode());
    }
    if (fd < 0) Fail(errno);
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
    if (direct_) {
        if (!buffer_->Close()) Fail(buffer_->Error());
        committed_ = true;
        return;
    }
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

std::string WithSystemReason(std::string text, int error) {
    const bool fullStop = !text.empty() && text.back() == '.';
    if (fullStop) text.pop_back();
    return text + ": " + std::strerror(error) + (fullStop ? "." : "");
}

CFileException::CFileException(int messageId, std::string fileName, int error)
    : CErrorException(messageId),
      fileName_(std::move(fileName)),
      error_(error),
      text_(FormatMessage(messageId, fileName_, std::strerror(error))) {}

}  // namespace tessera
