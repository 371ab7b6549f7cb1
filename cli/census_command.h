#pragma once
#include <string>
#include <vector>

namespace tessera::cli {

// tessera-cli census FILE [--generations N] [--library LIB]... [--save] [--apgcode]
int RunCensusCommand(const std::vector<std::string>& args);

}  // namespace tessera::cli
