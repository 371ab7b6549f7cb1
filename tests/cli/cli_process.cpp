#include "cli/cli_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

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
        if (c == '\'') q += "'\\''";
        else q += c;
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
