#pragma once
// The batch tool's command table and dispatcher.
#include <functional>
#include <string>
#include <vector>

namespace tessera::cli {

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CCommand {
    const char* name;
    const char* synopsis;                              // one line for the help text
    int (*run)(const std::vector<std::string>& args);  // args after the command name
};

// Every command the tool knows, in help order.
const std::vector<CCommand>& Commands();

int RunCommandLine(const std::vector<std::string>& args);

// Runs a command's work; the program's own errors and memory exhaustion are reported on standard error
// and answer kExitFailed.
int RunReportingFailures(const std::function<int()>& work);

}  // namespace tessera::cli
