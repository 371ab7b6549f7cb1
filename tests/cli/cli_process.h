#pragma once
// Runs the built tessera-cli as a child process and captures what it prints.
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tessera::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tessera-cli (path from the TESSERA_CLI environment variable) with the given arguments.
CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText = "");

// A tessera-cli started in the background, for tests that signal it while it works. Its standard output
// goes to a file that Wait collects; its standard error to a file too, or to a pseudo-terminal when
// stderrIsTerminal is set (as when a person runs it). A process still running at destruction is killed.
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args, bool stderrIsTerminal = false,
                        const std::string& stdinText = "");
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void Signal(int signalNumber);
    // True once the process has written `text` to its standard error (polled until the timeout).
    bool WaitForErr(const std::string& text, int timeoutMilliseconds);
    CliResult Wait();

private:
    std::string ErrSoFar();

    int pid_ = -1;
    int terminal_ = -1;  // the pseudo-terminal's master side, when stderr is a terminal
    std::string terminalText_;
    CTempFolder folder_;  // standard input, output and error
};

}  // namespace tessera::test
