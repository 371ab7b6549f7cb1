#pragma once
// Signals while the batch tool replaces its output file. SIGINT and SIGTERM remove the temporary file and
// then take their usual course, so the target stays the old file and nothing is left behind; SIGXFSZ
// (a file size limit) is ignored so that the write fails with its reason instead of killing the tool.
#include <signal.h>

#include <string>

namespace tessera::cli {

class CWriteSignalGuard {
public:
    // Installs the handlers and holds SIGINT and SIGTERM back until Watch, so that no signal can come
    // between the creation of the temporary file and the handler's knowing its name.
    CWriteSignalGuard();
    // Names the temporary file to remove and lets the signals through again.
    void Watch(const std::string& temporaryPath);
    // Puts the previous handlers back.
    ~CWriteSignalGuard();
    CWriteSignalGuard(const CWriteSignalGuard&) = delete;
    CWriteSignalGuard& operator=(const CWriteSignalGuard&) = delete;

private:
    sigset_t previousMask_;
};

}  // namespace tessera::cli
