#pragma once
// Runs the built tessera-cli as a child process and captures what it prints.
#include <string>
#include <vector>

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tessera-cli (path from the TESSERA_CLI environment variable) with the given arguments.
CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText = "");
