// Attribute lines: a value goes to the first set that knows its name, and what is written reads back.
// Times and plain numbers as attributes are covered by the pattern library's round trip.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "text/attribute_values.h"
#include "text/enumeration.h"
#include "text/lex.h"
#include "text/lex_attribute.h"

namespace tessera::test {

namespace {

enum class Kind { Unspecified, Any, Still, Oscillator, Ship };
constexpr std::string_view kKindNames = "|unspecified|any|still|oscillator|ship|final|";

struct Sample {
    long generation = 0;
    CLSize size;
    CEnumeration<Kind> kind{kKindNames};
    int speed = 0;
    bool hasSpeed = false;

    void SetSpeed(int s) { speed = s, hasSpeed = true; }
    int Speed() const { return speed; }
    bool WriteSpeed() const { return hasSpeed; }

    static std::span<const CLexAttribute<Sample>* const> AttributeTable();
};

const CLexAttributeAssign<Sample, long> kGeneration("Generation", &Sample::generation);
const CLexAttributeAssign<Sample, CLSize> kSize("Size", &Sample::size);
const CLexAttributeAssign<Sample, CEnumeration<Kind>> kKind("Kind", &Sample::kind);
const CLexAttributeFunction<Sample, int> kSpeed("Speed", &Sample::SetSpeed, &Sample::Speed,
                                                &Sample::WriteSpeed);
const CLexAttribute<Sample>* const kSampleTable[] = {&kGeneration, &kSize, &kKind, &kSpeed};

std::span<const CLexAttribute<Sample>* const> Sample::AttributeTable() { return kSampleTable; }

struct CollectingReporter : CAttributeErrorReporter {
    std::vector<std::string> reports;
    void Report(const CAttributeValue& v) override {
        reports.push_back(v.name + "=" + v.value + "@" + std::to_string(v.lineNumber));
    }
};

// Reads attribute lines the way file readers do.
void ReadAttributeLines(std::string_view text, CAttributeValueList& values) {
    CLex lex(text);
    while (lex.Kind() != TokEndOfFile) {
        std::string name, value;
        if (lex.AcceptKeyword(kAttributeMarker) && lex.ReadNameValue(name, value)) {
            values.PushBack(new CAttributeValue(name, value, lex.LineNumber()));
        }
        lex.SkipLine();
    }
}

}  // namespace

// A value the first set does not know goes on to the next: the pattern library's sets (the library's, then
// the pattern's) are that case.
TEST(LexAttributes, AssignMatchesNamesIgnoringCaseAndGoesToTheFirstSetThatKnowsTheName) {
    Sample first, second;
    CLexAttributeSetList sets;
    CLexAttributeSet<Sample> firstSet(sets, first);
    {
        CLexAttributeSet<Sample> secondSet(sets, second);
        EXPECT_TRUE(DispatchAttribute(sets, CAttributeValue("GENERATION", "42", 1)));
        EXPECT_EQ(std::pair(first.generation, second.generation), std::pair(42L, 0L));
        EXPECT_TRUE(DispatchAttribute(sets, CAttributeValue("kind", "abc", 3)));  // still assigned
        EXPECT_FALSE(DispatchAttribute(sets, CAttributeValue("Generations", "1", 4)));
    }
    EXPECT_EQ(sets.Count(), 1);  // a set leaves the list when destroyed
}

// A property whose predicate answers false is not written; a line no set takes is reported.
TEST(LexAttributes, WrittenLinesReadBackToTheSameValues) {
    Sample original;
    original.generation = -12;
    original.size = {640, 480};
    original.kind = Kind::Oscillator;
    std::ostringstream out;
    WriteAttributes(out, original);
    EXPECT_EQ(out.str(),
              "##TesseraAttribute Generation=-12\n##TesseraAttribute Size=640 480\n"
              "##TesseraAttribute Kind=oscillator\n");

    original.SetSpeed(3);
    std::ostringstream withSpeed;
    WriteAttributes(withSpeed, original);
    Sample copy;
    CLexAttributeSetList sets;
    CLexAttributeSet<Sample> set(sets, copy);
    CAttributeValueList values;
    ReadAttributeLines(withSpeed.str() + "##TesseraAttribute Unknown=1\n", values);
    CollectingReporter reporter;
    EXPECT_FALSE(ApplyAttributes(sets, values, reporter));
    EXPECT_EQ(reporter.reports, std::vector<std::string>{"Unknown=1@5"});
    EXPECT_EQ(copy.generation, original.generation);
    EXPECT_EQ(copy.size, original.size);
    EXPECT_EQ(copy.kind.Value(), Kind::Oscillator);
    EXPECT_EQ(copy.speed, 3);
}

TEST(LexAttributes, AFailedFlushMarksTheStreamBad) {
    struct RefusingBuffer : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
        int sync() override { return -1; }
    } buffer;
    std::ostream out(&buffer);
    WriteAttributes(out, Sample{});
    EXPECT_TRUE(out.bad());
}

}  // namespace tessera::test
