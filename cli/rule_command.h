#pragma once
#include <string>
#include <vector>

namespace tessera::cli {

// tessera-cli rule TEXT...
int RunRuleCommand(const std::vector<std::string>& args);

}  // namespace tessera::cli
