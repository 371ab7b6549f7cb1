#pragma once
// tessera-cli classify and tessera-cli library: a file's pattern classified, and a library listed or
// one of its patterns written out.
#include <string>
#include <vector>

namespace tessera::cli {

int RunClassifyCommand(const std::vector<std::string>& args);
int RunLibraryCommand(const std::vector<std::string>& args);

}  // namespace tessera::cli
