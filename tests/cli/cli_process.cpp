#include "cli/cli_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessera::test {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText) {
    const char* cli = std::getenv("TESSERA_CLI");
    if (!cli) throw std::runtime_error("TESSERA_CLI is not set");
    char dir[] = "/tmp/tessera-cli-XXXXXX";
    if (!mkdtemp(dir)) throw std::runtime_error("mkdtemp failed");
    std::string base(dir);
    {
        std::ofstream in(base + "/in", std::ios::binary);
        in << stdinText;
    }
    std::string command = Quote(cli);
    for (const auto& a : args) command += " " + Quote(a);
    command += " <" + base + "/in >" + base + "/out 2>" + base + "/err";
    int status = std::system(command.c_str());
    CliResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(base + "/out");
    r.err = Slurp(base + "/err");
    std::system(("rm -rf " + base).c_str());
    return r;
}

CliProcess::CliProcess(const std::vector<std::string>& args, bool stderrIsTerminal) {
    const char* cli = std::getenv("TESSERA_CLI");
    if (!cli) throw std::runtime_error("TESSERA_CLI is not set");
    char dir[] = "/tmp/tessera-cli-XXXXXX";
    if (!mkdtemp(dir)) throw std::runtime_error("mkdtemp failed");
    folder_ = dir;
    std::vector<std::string> argv = {cli};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string errPath = folder_ + "/err";
    if (stderrIsTerminal) {
        terminal_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (terminal_ < 0 || grantpt(terminal_) != 0 || unlockpt(terminal_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        errPath = ptsname(terminal_);
        fcntl(terminal_, F_SETFL, fcntl(terminal_, F_GETFL) | O_NONBLOCK);
    }
    const std::string out = folder_ + "/out";
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        int in = open("/dev/null", O_RDONLY);
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int e = stderrIsTerminal ? open(errPath.c_str(), O_RDWR | O_NOCTTY)
                                 : open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || o < 0 || e < 0) _exit(127);
        dup2(in, 0);
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
    std::system(("rm -rf " + folder_).c_str());
}

void CliProcess::Signal(int signalNumber) {
    if (pid_ > 0) kill(pid_, signalNumber);
}

std::string CliProcess::ErrSoFar() {
    if (terminal_ < 0) return Slurp(folder_ + "/err");
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
    // Keep reading the terminal while waiting, so the process never blocks on a full one.
    while (pid_ > 0) {
        ErrSoFar();
        const int done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            pid_ = -1;
        } else if (done < 0) {
            pid_ = -1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    r.out = Slurp(folder_ + "/out");
    r.err = ErrSoFar();
    return r;
}

}  // namespace tessera::test
