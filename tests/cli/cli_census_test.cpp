// tessera-cli census: rows by name or by apgcode, new shapes in the user library, written back with --save.
#include <gtest/gtest.h>

#include "cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {
namespace {

class CliCensusTest : public CliFolderTest {};

// Three blocks, a glider and a beehive (in no shipped library under another name: found as "beehive").
constexpr const char* kWorld =
    "x = 40, y = 20, rule = B3/S23\n"
    "2o8b2o$2o8b2o8$2o$2o8$20bo$21bo$19b3o!\n";

TEST_F(CliCensusTest, RowsByNameAndByApgcode) {
    const std::string file = Write("world.rle", kWorld);
    const CliResult byName = RunCli({"census", file});
    EXPECT_EQ(0, byName.exitCode) << byName.err;
    EXPECT_EQ("block,3,4\nglider,1,5\nobjects=4 new=0 unclassifiable=0\n", byName.out);
    // Grown 8 generations the glider has moved on; the counts stay.
    const CliResult byCode = RunCli({"census", file, "--generations", "8", "--apgcode"});
    EXPECT_EQ(0, byCode.exitCode) << byCode.err;
    EXPECT_EQ("xs4_33,3\nxq4_153,1\nobjects=4 new=0 unclassifiable=0\n", byCode.out);
}

TEST_F(CliCensusTest, NewShapesAreKeptOnlyWithSave) {
    // Two blocks joined diagonally by a bridge of tubs is no shipped object: a still life of its own.
    const std::string file = Write("new.rle", "x = 6, y = 6, rule = B3/S23\n2o$obo$bobo$2bobo$3bobo$4b2o!\n");
    const CliResult first = RunCli({"census", file});
    EXPECT_EQ(0, first.exitCode) << first.err;
    EXPECT_EQ("New12-1,1,12\nobjects=1 new=1 unclassifiable=0\n", first.out);
    EXPECT_EQ(first.out, RunCli({"census", file}).out);  // not saved: new again
    EXPECT_EQ(0, RunCli({"census", file, "--save"}).exitCode);
    EXPECT_EQ("New12-1,1,12\nobjects=1 new=0 unclassifiable=0\n", RunCli({"census", file}).out);
}

TEST_F(CliCensusTest, BadArguments) {
    EXPECT_EQ(2, RunCli({"census"}).exitCode);
    EXPECT_EQ(2, RunCli({"census", "x.rle", "--generations", "ten"}).exitCode);
    EXPECT_EQ(1, RunCli({"census", Write("empty.rle", "#C nothing\n")}).exitCode);
}

}  // namespace
}  // namespace tessera::test
