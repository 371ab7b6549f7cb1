#include "config/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tessera {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFileName = "TESSERA.INI";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Closes the descriptor and removes the temporary file unless the rename has taken it over.
class CTemporaryFile {
public:
    explicit CTemporaryFile(const fs::path& target) : name_(target.string() + ".XXXXXX") {
        fd_ = ::mkstemp(name_.data());
    }
    ~CTemporaryFile() {
        Close();
        if (!renamed_) ::unlink(name_.c_str());
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }
    bool RenameTo(const fs::path& target) {
        renamed_ = ::rename(name_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a failure here leaves a complete file either way, so it is ignored.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Edits through a symbolic link land in the file it points to, leaving the link in place.
fs::path ResolveLink(const fs::path& file) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return file;
    fs::path target = fs::canonical(file, error);
    return error ? file : target;
}

template <typename Edit>
bool EditConfigFile(Edit edit) {
    const fs::path file = ConfigFilePath();
    CIniDocument document = LoadIniFile(file);
    if (!edit(document)) return false;
    return StoreIniFile(file, document);
}

}  // namespace

fs::path ConfigFilePath() {
    const std::string explicitFile = Environment("TESSERA_INI");
    if (!explicitFile.empty()) return fs::path(explicitFile);
    fs::path base;
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && fs::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const std::string home = Environment("HOME");
        base = home.empty() ? fs::path(".") : fs::path(home) / ".config";
    }
    return base / "tessera" / kFileName;
}

CIniDocument LoadIniFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return CIniDocument();
    std::ifstream in(file, std::ios::binary);
    if (!in) return CIniDocument();
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return CIniDocument();
    return CIniDocument::Parse(text);
}

bool StoreIniFile(const fs::path& requested, const CIniDocument& document) {
    const fs::path file = ResolveLink(requested);
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    fs::create_directories(folder, error);

    CTemporaryFile temporary(file);
    if (!temporary.IsOpen()) return false;
    // Keep the permissions of the file being replaced (a new file keeps mkstemp's owner-only ones).
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) ::fchmod(temporary.Descriptor(), existing.st_mode & 07777);
    if (!WriteAll(temporary.Descriptor(), document.Serialize())) return false;
    if (::fsync(temporary.Descriptor()) != 0) return false;
    if (!temporary.Close()) return false;
    if (!temporary.RenameTo(file)) return false;
    SyncFolder(folder);
    return true;
}

std::optional<std::string> ReadIniValue(std::string_view section, std::string_view key) {
    return LoadIniFile(ConfigFilePath()).Value(section, key);
}

std::vector<std::string> ReadIniKeys(std::string_view section) {
    return LoadIniFile(ConfigFilePath()).Keys(section);
}

bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
    return EditConfigFile([&](CIniDocument& document) { return document.SetValue(section, key, value); });
}

bool DeleteIniKey(std::string_view section, std::string_view key) {
    // Deleting what is not there succeeds without touching the file.
    return EditConfigFile([&](CIniDocument& document) { return document.DeleteKey(section, key); }) ||
           !ReadIniValue(section, key).has_value();
}

bool DeleteIniSection(std::string_view section) {
    return EditConfigFile([&](CIniDocument& document) { return document.DeleteSection(section); }) ||
           !LoadIniFile(ConfigFilePath()).HasSection(section);
}

}  // namespace tessera
