// tessera-cli run: files written here in each input form, grown by the tool and compared with the
// reference stepper; the output forms read back by the tool; universe selection; file errors and rules
// that cannot run; Ctrl+C during a long growth; patterns that die before the generation asked for.
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "cli_test_folder.h"
#include "support/pattern_texts.h"

namespace tessera::test {

namespace {

std::string BoundsText(const Cells& cells) {
    if (cells.empty()) return "none";
    const CLRect b = BoundsOf(cells);
    return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
           std::to_string(b.bottom);
}

// The summary line and, through the pattern written before it (or the given output file's text), the
// cells. Forms that carry no position are compared up to a shift; the summary's bounds pin the position.
void ExpectResult(const CliResult& r, const Cells& expected, int generation,
                  const std::string& ruleText = "23/3",
                  const std::optional<std::string>& fileText = std::nullopt) {
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto summary = SummaryOf(r.out);
    EXPECT_EQ(summary["generation"], std::to_string(generation));
    EXPECT_EQ(summary["population"], std::to_string(expected.size()));
    EXPECT_EQ(summary["bounds"], BoundsText(expected));
    EXPECT_EQ(summary["rule"], ruleText);
    const Cells written = ReadToolPattern(fileText ? *fileText : PatternPartOf(r.out), generation);
    EXPECT_EQ(Normalised(written), Normalised(expected));
}

class CliRunTest : public CliFolderTest {};

}  // namespace

TEST_F(CliRunTest, EachInputFormGrowsAsTheReferenceDoes) {
    struct Case {
        const char* name;
        RuleCode rule;
        const char* ruleText;
        std::string (*write)(const Cells&, const std::string&);
    };
    const std::vector<Case> cases = {
        {"soup.rle", kConwayRuleCode, "23/3", ToRle},
        {"soup.lif", kHighLifeRuleCode, "23/36", ToPictures},
        {"soup.life", kConwayRuleCode, "23/3",
         [](const Cells& c, const std::string&) { return ToLife106(c); }},
        {"soup.game", kHighLifeRuleCode, "23/36", ToGameFile},
    };
    uint32_t seed = 11;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Cells soup = SeededSoup(seed++, -7, 3, 16, 12, 40);
        const std::string file = Write(c.name, c.write(soup, c.ruleText));
        const Cells start = c.write == ToRle ? Normalised(soup) : soup;
        for (int generations : {0, 1, 29}) {
            SCOPED_TRACE(generations);
            CliResult r = RunCli({"run", file, "--generations", std::to_string(generations)});
            ExpectResult(r, ReferenceRun(start, c.rule, generations), generations, c.ruleText);
        }
    }
}

TEST_F(CliRunTest, EveryOutputFormReadsBackAndGrowsOn) {
    const Cells start = Normalised(SeededSoup(23, 2, -9, 18, 15, 38));
    const std::string file = Write("start.rle", ToRle(start, "23/3"));
    const Cells at20 = ReferenceRun(start, kConwayRuleCode, 20);
    const Cells at31 = ReferenceRun(at20, kConwayRuleCode, 11);
    for (const char* format : {"xlife", "rle", "game"}) {
        SCOPED_TRACE(format);
        const std::string output = PathOf(std::string("out.") + format);
        CliResult r = RunCli({"run", file, "--generations", "20", "--format", format, "--output", output});
        ExpectResult(r, at20, 20, "23/3", ReadFile(output));
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "only the summary line goes to stdout";

        // The game form keeps the generation number; the pattern forms start again at 0. Pictures and
        // the game form keep the position; RLE puts the pattern's corner at (0, 0).
        const bool game = std::string(format) == "game";
        const bool rle = std::string(format) == "rle";
        CliResult again = RunCli({"run", output, "--generations", game ? "31" : "11"});
        ExpectResult(again, rle ? ReferenceRun(Normalised(at20), kConwayRuleCode, 11) : at31, game ? 31 : 11);
    }
}

TEST_F(CliRunTest, SelectChoosesAmongSeveralUniverses) {
    const std::string blocks =
        "#B ship\n.*.\n..*\n***\n#E\n"
        "#B row\n#P 10 10\n****\n#E\n";
    const std::string onlyBlocks = Write("blocks.lif", blocks);

    // Without --select, or with a name that is not there, the tool lists the names to choose from.
    for (const CliResult& ask :
         {RunCli({"run", onlyBlocks}), RunCli({"run", onlyBlocks, "--select", "glider"})}) {
        EXPECT_EQ(ask.exitCode, 1);
        EXPECT_NE(ask.err.find("ship"), std::string::npos) << ask.err;
        EXPECT_NE(ask.err.find("row"), std::string::npos) << ask.err;
    }

    CliResult row = RunCli({"run", onlyBlocks, "--select", "row", "--generations", "2"});
    ExpectResult(row, ReferenceRun({{10, 10}, {11, 10}, {12, 10}, {13, 10}}, kConwayRuleCode, 2), 2);
    CliResult ship = RunCli({"run", onlyBlocks, "--select", "SHIP"});  // names ignore case
    ExpectResult(ship, {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}, 0);

    // With data outside the blocks, the top-level pattern is taken.
    const std::string withTop = Write("top.lif", blocks + "#P -5 -5\n**\n**\n");
    CliResult top = RunCli({"run", withTop});
    ExpectResult(top, {{-5, -5}, {-4, -5}, {-5, -4}, {-4, -4}}, 0);
}

TEST_F(CliRunTest, FileProblemsAreReported) {
    // Problems that do not stop the read are reported on stderr; the pattern still runs.
    CliResult reported =
        RunCli({"run", Write("odd.lif", "#Q what is this\n#P 0 0\n***\n"), "--generations", "1"});
    ExpectResult(reported, {{1, -1}, {1, 0}, {1, 1}}, 1);
    EXPECT_NE(reported.err.find("contains the following errors:"), std::string::npos) << reported.err;
    EXPECT_NE(reported.err.find("Unknown command"), std::string::npos) << reported.err;

    // A rule the program cannot run is refused unless another is given.
    const std::string history = Write("history.rle", "x = 3, y = 1, rule = LifeHistory\n3o!\n");
    CliResult refused = RunCli({"run", history, "--generations", "1"});
    EXPECT_EQ(1, refused.exitCode);
    EXPECT_NE(std::string::npos, refused.err.find("\"LifeHistory\"")) << refused.err;
    CliResult given = RunCli({"run", history, "--generations", "1", "--rule", "b3/s23"});
    ExpectResult(given, {{1, -1}, {1, 0}, {1, 1}}, 1);
}

TEST_F(CliRunTest, InterruptStopsALongGrowthAndKeepsTheResult) {
    // Repeat detection would stop a blinker at once; this growth only ends when it is interrupted.
    Write("TESSERA.INI", "[Parameters]\nAutoStopGrow=0\n");
    const std::string file = Write("blinker.lif", "#P 0 0\n***\n");
    const std::string output = PathOf("stopped.lif");
    CliProcess tool({"run", file, "--generations", "2147483647", "--output", output},
                    /*stderrIsTerminal=*/true);
    ASSERT_TRUE(tool.WaitForErr("Computing generation 2147483647", 20000));
    ASSERT_TRUE(tool.WaitForErr("Currently at generation", 20000));
    tool.Signal(SIGINT);
    CliResult r = tool.Wait();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Cancelled"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("interrupted at generation"), std::string::npos) << r.err;

    auto summary = SummaryOf(r.out);
    EXPECT_EQ(summary["cancelled"], "1");
    const long generation = std::stol(summary["generation"]);
    EXPECT_TRUE(generation > 0 && generation < 2147483647) << generation;
    const Cells expected =
        ReferenceRun({{0, 0}, {1, 0}, {2, 0}}, kConwayRuleCode, static_cast<int>(generation % 2));
    EXPECT_EQ(summary["bounds"], BoundsText(expected));
    EXPECT_EQ(ReadToolPattern(ReadFile(output)), expected);
}

TEST_F(CliRunTest, GameFilesGoBackToAStoredGenerationAndRegrow) {
    // The start and a stored generation 10 that is not what growth gives: going to generation 4 must
    // regrow from the start, going to 12 must grow on from the stored 10.
    const Cells start = SeededSoup(41, -3, -3, 12, 12, 42);
    std::string text = ToGameFile(start, "23/3");
    const Cells stored = {{0, 0}, {1, 0}, {2, 0}};
    const std::string block = "GENERATION 11 CURRENT\n0,0:3;\nENDPATTERN\n";
    text.insert(text.rfind("ENDGAME"), block);
    const std::string file = Write("stored.game", text);

    CliResult back = RunCli({"run", file, "--generations", "4"});
    ExpectResult(back, ReferenceRun(start, kConwayRuleCode, 4), 4);
    CliResult stay = RunCli({"run", file, "--generations", "10"});
    ExpectResult(stay, stored, 10);
    CliResult on = RunCli({"run", file, "--generations", "12"});
    ExpectResult(on, ReferenceRun(stored, kConwayRuleCode, 2), 12);
}

TEST_F(CliRunTest, MemoryLimitTrimsKeptGenerationsAndFailsCleanlyWhenThatCannotHelp) {
    // Four chunks of 500000 bytes: a soup of this size keeps only a few generations in that room, so
    // reaching generation 60 depends on trimming the kept ones.
    Write("TESSERA.INI", "[Parameters]\nMaxMemory=2\n");
    const Cells soup = SeededSoup(5, 0, 0, 200, 200, 35);
    const std::string file = Write("soup.rle", ToRle(soup, "23/3"));
    CliResult grown = RunCli({"run", file, "--generations", "60", "--format", "rle"});
    ExpectResult(grown, ReferenceRun(Normalised(soup), kConwayRuleCode, 60), 60);

    // A soup whose generations cannot fit twice into the room: the tool says so and writes nothing.
    const Cells big = SeededSoup(6, 0, 0, 1000, 1000, 30);
    const std::string bigFile = Write("big.rle", ToRle(big, "23/3"));
    CliResult failed = RunCli({"run", bigFile, "--generations", "3"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("There is not enough memory to perform the requested operation."),
              std::string::npos)
        << failed.err;
    EXPECT_EQ(failed.out, "");
}

TEST_F(CliRunTest, APatternThatDiesIsTheEmptyPatternAtTheGenerationAskedFor) {
    const Cells start = {{0, 0}, {1, 0}, {3, 0}, {1, 1}, {2, 1}, {1, 2}, {2, 2}};  // gone at generation 3
    const std::string file = Write("dies.rle", ToRle(start, "B3/S23"));
    for (const char* format : {"rle", "game"}) {
        CliResult r = RunCli({"run", file, "--generations", "30", "--format", format});
        ExpectResult(r, {}, 30);
        EXPECT_EQ("", r.err);
    }
}

}  // namespace tessera::test
