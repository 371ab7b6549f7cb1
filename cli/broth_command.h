#pragma once
#include <string>
#include <vector>

namespace tessera::cli {

// tessera-cli broth --size WxH --density PERCENT [--seed N] [--output OUT] [--format F]
int RunBrothCommand(const std::vector<std::string>& args);

}  // namespace tessera::cli
