#pragma once
// Signals while the batch tool replaces its output file. SIGINT and SIGTERM remove the temporary file and
// then take their usual course, so the target stays the old file and nothing is left behind; SIGXFSZ
// (a file size limit) is ignored so that the write fails with its reason instead of killing the tool.
#include <string>

namespace tessera::cli {

class CWriteSignalGuard {
public:
    explicit CWriteSignalGuard(const std::string& temporaryPath);
    // Puts the previous handlers back.
    ~CWriteSignalGuard();
    CWriteSignalGuard(const CWriteSignalGuard&) = delete;
    CWriteSignalGuard& operator=(const CWriteSignalGuard&) = delete;
};

}  // namespace tessera::cli
