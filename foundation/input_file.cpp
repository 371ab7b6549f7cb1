#include "foundation/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/messages.h"
#include "foundation/safe_file.h"

namespace tessera {

void OpenInputFile(std::ifstream& stream, const std::filesystem::path& file, std::ios::openmode mode) {
    // The system call says why a file cannot be opened; the stream would only say that it was not.
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) throw CFileException(msg::FileNotOpened, file.string(), errno);
    struct stat status {};
    const bool folder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    ::close(fd);
    if (folder) throw CFileException(msg::FileNotOpened, file.string(), EISDIR);
    stream.open(file, mode);
    if (!stream) throw CFileException(msg::FileNotOpened, file.string(), errno != 0 ? errno : EIO);
}

void CheckInputFile(const std::filesystem::path& file) {
    std::ifstream stream;
    OpenInputFile(stream, file, std::ios::binary);
}

}  // namespace tessera
