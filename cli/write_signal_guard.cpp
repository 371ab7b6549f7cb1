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

CWriteSignalGuard::CWriteSignalGuard(const std::string& temporaryPath) {
    temporaryName[0] = '\0';
    if (temporaryPath.size() < kMaxPath) std::memcpy(temporaryName, temporaryPath.c_str(), temporaryPath.size() + 1);
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndStop;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &previousFileSize);
}

CWriteSignalGuard::~CWriteSignalGuard() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGXFSZ, &previousFileSize, nullptr);
    temporaryName[0] = '\0';
}

}  // namespace tessera::cli
