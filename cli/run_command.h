#pragma once
#include <string>
#include <vector>

namespace tessera::cli {

// tessera-cli run FILE [--generations N] [--rule TEXT] [--select NAME] [--output OUT] [--format F]
int RunRunCommand(const std::vector<std::string>& args);

}  // namespace tessera::cli
