#include "cli/cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace tessera::test {

CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText) {
    return CliProcess(args, false, stdinText).Wait();
}

CliProcess::CliProcess(const std::vector<std::string>& args, bool stderrIsTerminal,
                       const std::string& stdinText) {
    const char* cli = std::getenv("TESSERA_CLI");
    if (!cli) throw std::runtime_error("TESSERA_CLI is not set");
    std::vector<std::string> argv = {cli};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::string in = folder_.Write("in", stdinText), out = folder_.PathOf("out");
    std::string errPath = folder_.PathOf("err");
    if (stderrIsTerminal) {
        terminal_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (terminal_ < 0 || grantpt(terminal_) != 0 || unlockpt(terminal_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        errPath = ptsname(terminal_);
        fcntl(terminal_, F_SETFL, fcntl(terminal_, F_GETFL) | O_NONBLOCK);
    }
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        int i = open(in.c_str(), O_RDONLY);
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int e = stderrIsTerminal ? open(errPath.c_str(), O_RDWR | O_NOCTTY)
                                 : open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (i < 0 || o < 0 || e < 0) _exit(127);
        dup2(i, 0);
        dup2(o, 1);
        dup2(e, 2);
        if (terminal_ >= 0) close(terminal_);
        std::vector<char*> cargs;
        for (auto& a : argv) cargs.push_back(a.data());
        cargs.push_back(nullptr);
        execv(cargs[0], cargs.data());
        _exit(127);
    }
}

CliProcess::~CliProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) close(terminal_);
}

void CliProcess::Signal(int signalNumber) {
    if (pid_ > 0) kill(pid_, signalNumber);
}

std::string CliProcess::ErrSoFar() {
    if (terminal_ < 0) return ReadFile(folder_.PathOf("err"));
    char buffer[4096];
    for (ssize_t n; (n = read(terminal_, buffer, sizeof buffer)) > 0;)
        terminalText_.append(buffer, static_cast<size_t>(n));
    return terminalText_;
}

bool CliProcess::WaitForErr(const std::string& text, int timeoutMilliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (ErrSoFar().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

CliResult CliProcess::Wait() {
    CliResult r;
    int status = 0;
    // Keep reading a terminal while waiting, so the process never blocks on a full one.
    while (pid_ > 0) {
        ErrSoFar();
        const int done = waitpid(pid_, &status, terminal_ < 0 ? 0 : WNOHANG);
        if (done == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (done == pid_) r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
    }
    r.out = ReadFile(folder_.PathOf("out"));
    r.err = ErrSoFar();
    return r;
}

}  // namespace tessera::test
