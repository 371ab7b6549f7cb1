// tessera-cli classify, library and census: the properties of a pattern, the patterns of a library file,
// and census rows by name or by apgcode, of the generation asked for, with new shapes kept in the user
// library only with --save.
#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli_test_folder.h"

namespace tessera::test {
namespace {

using CliPatternTest = CliFolderTest;

TEST_F(CliPatternTest, ClassifyPrintsTheProperties) {
    CliResult r = RunCli({"classify", Write("blinker.lif", "#P 5 5\n***\n")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "type=oscillator period=2 cyclestart=0 velocity=0,0 symmetry=180diagonal fold=1 foldtransform=1 "
        "population=3 apgcode=xp2_7\n");
    r = RunCli({"classify", Write("glider.rle", "x = 3, y = 3\nbo$2bo$3o!\n")});
    EXPECT_EQ(r.out,
              "type=ship period=4 cyclestart=0 velocity=1,1 symmetry=none fold=4 foldtransform=0 "
              "population=5 apgcode=xq4_153\n");
}

TEST_F(CliPatternTest, LibraryListsAndShows) {
    const std::string library =
        Write("lib.lfl",
              "#B glider\n.*.\n..*\n***\n#E\n#B r\n##TesseraAttribute PatternType=gun\n"
              "##TesseraAttribute PatternPeriod=30\n.**\n**.\n.*.\n#E\n");
    CliResult r = RunCli({"library", library});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "name=glider type=ship period=4 population=5 recognizable=1 apgcode=xq4_153\n"
              "name=r type=gun period=30 population=5 recognizable=0 apgcode=none\n");
    r = RunCli({"library", library, "--show", "glider", "--output", PathOf("out.rle"), "--format", "rle"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(ReadFile(PathOf("out.rle")).find("bo$2bo$3o!"), std::string::npos)
        << ReadFile(PathOf("out.rle"));
    // A damaged file is reported, and what was sound is listed.
    r = RunCli(
        {"library", Write("bad.lfl",
                          "LIBRARY\nCREATED 2024-1-1 0:0:0\nUPDATED 2024-1-1 0:0:0\n"
                          "PATTERN \"b\"\nSYMMETRY final\nPERIOD 1\nTYPE still\n0,0:2;\n1,0:2;\nENDPATTERN\n"
                          "PATTERN \"c\"\nTYPE still\n")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "name=b type=still period=1 population=4 recognizable=0 apgcode=xs4_33\n");
    EXPECT_NE(r.err.find("Syntax error at line 12 in library file"), std::string::npos) << r.err;
}

// Three blocks, a glider and a beehive (in no shipped library under another name: found as "beehive").
constexpr const char* kWorld =
    "x = 40, y = 20, rule = B3/S23\n"
    "2o8b2o$2o8b2o8$2o$2o8$20bo$21bo$19b3o!\n";

TEST_F(CliPatternTest, CensusRowsByNameAndByApgcode) {
    const std::string file = Write("world.rle", kWorld);
    const CliResult byName = RunCli({"census", file});
    EXPECT_EQ(0, byName.exitCode) << byName.err;
    EXPECT_EQ("block,3,4\nglider,1,5\nobjects=4 new=0 unclassifiable=0\n", byName.out);
    // Grown 8 generations the glider has moved on; the counts stay.
    const CliResult byCode = RunCli({"census", file, "--generations", "8", "--apgcode"});
    EXPECT_EQ(0, byCode.exitCode) << byCode.err;
    EXPECT_EQ("xs4_33,3\nxq4_153,1\nobjects=4 new=0 unclassifiable=0\n", byCode.out);
}

TEST_F(CliPatternTest, CensusNewShapesAreKeptOnlyWithSave) {
    // Two blocks joined diagonally by a bridge of tubs is no shipped object: a still life of its own.
    const std::string file = Write("new.rle", "x = 6, y = 6, rule = B3/S23\n2o$obo$bobo$2bobo$3bobo$4b2o!\n");
    const CliResult first = RunCli({"census", file});
    EXPECT_EQ(0, first.exitCode) << first.err;
    EXPECT_EQ("New12-1,1,12\nobjects=1 new=1 unclassifiable=0\n", first.out);
    EXPECT_EQ(first.out, RunCli({"census", file}).out);  // not saved: new again
    EXPECT_EQ(0, RunCli({"census", file, "--save"}).exitCode);
    EXPECT_EQ("New12-1,1,12\nobjects=1 new=0 unclassifiable=0\n", RunCli({"census", file}).out);
}

// Growth neither stops early on what looks like the end of the story nor fails when everything has died
// on the way.
TEST_F(CliPatternTest, CensusCountsTheGenerationAskedFor) {
    // A glider meets a block 40 rows down and both are gone by generation 160.
    const std::string crash = Write("crash.rle", "x = 44, y = 44\nbo$2bo$3o40$42b2o$42b2o!\n");
    CliResult r = RunCli({"census", crash, "--generations", "160"});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("objects=0 new=0 unclassifiable=0\n", r.out);
}

}  // namespace
}  // namespace tessera::test
