#pragma once
// A full disk for the length of a scope: no file of this process or of the programs it starts may grow
// past the limit, and a write that would fails with "File too large" instead of ending the process.
#include <sys/resource.h>

#include <csignal>

namespace tessera::test {

class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        const rlimit small{bytes, previous_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~CFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    void (*previousHandler_)(int);
    rlimit previous_{};
};

}  // namespace tessera::test
