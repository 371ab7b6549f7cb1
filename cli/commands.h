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

struct Command {
    const char* name;
    const char* synopsis;                              // one line for the help text
    int (*run)(const std::vector<std::string>& args);  // args after the command name
};

// Every command the tool knows, in help order.
const std::vector<Command>& Commands();

int RunCommandLine(const std::vector<std::string>& args);

}  // namespace tessera::cli
