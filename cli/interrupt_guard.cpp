#include "cli/interrupt_guard.h"

#include <csignal>

namespace tessera::cli {
namespace {

volatile std::sig_atomic_t interruptRequested = 0;
struct sigaction previousAction;

extern "C" void NoteInterrupt(int) { interruptRequested = 1; }

}  // namespace

CInterruptGuard::CInterruptGuard() {
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &previousAction);
}

CInterruptGuard::~CInterruptGuard() { sigaction(SIGINT, &previousAction, nullptr); }

bool CInterruptGuard::Requested() const { return interruptRequested != 0; }

}  // namespace tessera::cli
