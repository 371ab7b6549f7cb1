#pragma once
// A temporary folder for one batch-tool test, with TESSERA_INI pointing into it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "support/temp_folder.h"

namespace tessera::test {

class CliFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("TESSERA_INI", folder_.PathOf("TESSERA.INI").c_str(), 1); }
    void TearDown() override { ::unsetenv("TESSERA_INI"); }

    // Writes a file in the folder and answers its path.
    std::string Write(const std::string& name, const std::string& text) { return folder_.Write(name, text); }
    std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

    CTempFolder folder_;
};

}  // namespace tessera::test
