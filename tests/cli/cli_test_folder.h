#pragma once
// A temporary folder for one batch-tool test, with TESSERA_INI pointing into it.
#include <string>

#include "support/temp_folder.h"

namespace tessera::test {

class CliFolderTest : public TempConfigTest {
protected:
    // Writes a file in the folder and answers its path.
    std::string Write(const std::string& name, const std::string& text) { return temp_.Write(name, text); }
    std::string PathOf(const std::string& name) const { return temp_.PathOf(name); }
};

}  // namespace tessera::test
