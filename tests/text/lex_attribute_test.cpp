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
    unsigned long population = 0;
    long generation = 0;
    CLSize size;
    CTime saved;
    CEnumeration<Kind> kind{kKindNames};
    int speed = 0;
    bool hasSpeed = false;

    void SetSpeed(int s) { speed = s, hasSpeed = true; }
    int Speed() const { return speed; }
    bool WriteSpeed() const { return hasSpeed; }

    static std::span<const CLexAttribute<Sample>* const> AttributeTable();
};

const CLexAttributeAssign<Sample, unsigned long> kPopulation("Population", &Sample::population);
const CLexAttributeAssign<Sample, long> kGeneration("Generation", &Sample::generation);
const CLexAttributeAssign<Sample, CLSize> kSize("Size", &Sample::size);
const CLexAttributeAssign<Sample, CTime> kSaved("Saved", &Sample::saved);
const CLexAttributeAssign<Sample, CEnumeration<Kind>> kKind("Kind", &Sample::kind);
const CLexAttributeFunction<Sample, int> kSpeed("Speed", &Sample::SetSpeed, &Sample::Speed,
                                                &Sample::WriteSpeed);
const CLexAttribute<Sample>* const kSampleTable[] = {&kPopulation, &kGeneration, &kSize,
                                                     &kSaved,      &kKind,       &kSpeed};

std::span<const CLexAttribute<Sample>* const> Sample::AttributeTable() { return kSampleTable; }

// A second class, to check that values go to the first set that knows them.
struct Other {
    long generation = 0;
    long extra = 0;
    static std::span<const CLexAttribute<Other>* const> AttributeTable();
};
const CLexAttributeAssign<Other, long> kOtherGeneration("generation", &Other::generation);
const CLexAttributeAssign<Other, long> kOtherExtra("Extra", &Other::extra);
const CLexAttribute<Other>* const kOtherTable[] = {&kOtherGeneration, &kOtherExtra};
std::span<const CLexAttribute<Other>* const> Other::AttributeTable() { return kOtherTable; }

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

TEST(LexAttributes, AssignMatchesNamesIgnoringCaseAndGoesToTheFirstSetThatKnowsTheName) {
    Sample sample;
    Other other;
    CLexAttributeSetList sets;
    CLexAttributeSet<Sample> sampleSet(sets, sample);
    {
        CLexAttributeSet<Other> otherSet(sets, other);
        EXPECT_EQ(sets.Count(), 2);
        EXPECT_TRUE(DispatchAttribute(sets, CAttributeValue("GENERATION", "42", 1)));
        EXPECT_EQ(sample.generation, 42);
        EXPECT_EQ(other.generation, 0);
        EXPECT_TRUE(DispatchAttribute(sets, CAttributeValue("extra", "-7", 2)));
        EXPECT_EQ(other.extra, -7);
        EXPECT_TRUE(DispatchAttribute(sets, CAttributeValue("population", "abc", 3)));  // still assigned
        EXPECT_FALSE(DispatchAttribute(sets, CAttributeValue("Populations", "1", 4)));
    }
    EXPECT_EQ(sets.Count(), 1);  // a set leaves the list when destroyed
    EXPECT_FALSE(DispatchAttribute(sets, CAttributeValue("Extra", "1", 5)));
}

TEST(LexAttributes, WrittenLinesReadBackToTheSameValues) {
    Sample original;
    original.population = 4000000000UL;
    original.generation = -12;
    original.size = {640, 480};
    original.saved = CTime::FromLocal(2023, 12, 31, 23, 59, 58);
    original.kind = Kind::Oscillator;
    std::ostringstream out;
    WriteAttributes(out, original);  // Speed is not written: its predicate answers false
    EXPECT_EQ(out.str().find("Speed"), std::string::npos);
    EXPECT_NE(out.str().find("##TesseraAttribute Size=640 480\n"), std::string::npos);
    EXPECT_NE(out.str().find("##TesseraAttribute Saved=2023-12-31 23:59:58\n"), std::string::npos);
    EXPECT_NE(out.str().find("##TesseraAttribute Kind=oscillator\n"), std::string::npos);

    original.SetSpeed(3);
    std::ostringstream withSpeed;
    WriteAttributes(withSpeed, original);
    EXPECT_NE(withSpeed.str().find("##TesseraAttribute Speed=3\n"), std::string::npos);

    Sample copy;
    CLexAttributeSetList sets;
    CLexAttributeSet<Sample> set(sets, copy);
    CAttributeValueList values;
    ReadAttributeLines(withSpeed.str(), values);
    CollectingReporter reporter;
    EXPECT_TRUE(ApplyAttributes(sets, values, reporter));
    EXPECT_EQ(copy.population, original.population);
    EXPECT_EQ(copy.generation, original.generation);
    EXPECT_EQ(copy.size, original.size);
    EXPECT_EQ(copy.saved, original.saved);
    EXPECT_EQ(copy.kind.Value(), original.kind.Value());
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
