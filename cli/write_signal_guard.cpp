#include "cli/write_signal_guard.h"

#include <unistd.h>

#include <csignal>
#include <cstring>

namespace tessera::cli {
namespace {

// The handler may only use what is safe in a signal handler, so the name is kept as a plain array.
constexpr size_t kMaxPath = 4096;
char temporaryName[kMaxPath] = {};
struct sigaction previousInterrupt, previousTerminate, previousFileSize;

extern "C" void RemoveTemporaryAndStop(int signalNumber) {
    if (temporaryName[0] != '\0') ::unlink(temporaryName);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signalNumber, &standard, nullptr);
    ::raise(signalNumber);
}

}  // namespace

CWriteSignalGuard::CWriteSignalGuard() {
    temporaryName[0] = '\0';
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGINT);
    sigaddset(&stopping, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopping, &previousMask_);
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndStop;
    action.sa_mask = stopping;
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &previousFileSize);
}

void CWriteSignalGuard::Watch(const std::string& temporaryPath) {
    if (temporaryPath.size() < kMaxPath)
        std::memcpy(temporaryName, temporaryPath.c_str(), temporaryPath.size() + 1);
    sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
}

CWriteSignalGuard::~CWriteSignalGuard() {
    sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGXFSZ, &previousFileSize, nullptr);
    temporaryName[0] = '\0';
}

}  // namespace tessera::cli
