#pragma once
// Ctrl+C while the batch tool grows a game: the signal handler only notes the request; the growth loop
// polls it between slices and cancels through the cancel box, so the game stays consistent and the
// tool still writes what it reached.
namespace tessera::cli {

class CInterruptGuard {
public:
    // Installs the SIGINT handler and clears any earlier request.
    CInterruptGuard();
    // Puts the previous handler back.
    ~CInterruptGuard();
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

    // True once SIGINT has arrived while this guard was installed.
    bool Requested() const;
};

}  // namespace tessera::cli
