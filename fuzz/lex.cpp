// Fuzz target: the tokenizer under every text reader, and the attribute lines read through it.
// Input layout: byte 0 holds the number of operation bytes (low five bits) and whether the text is read
// from a stream (bit 5); then the operation bytes, which choose a sequence of reading operations as the
// readers mix them (modes, acceptors, numbers, names, rest of line, skipping); the remainder is the text. A
// second pass reads the text as a file of "##TesseraAttribute" lines, applies them to an object and checks
// that the object's attributes survive being written and read again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/errors.h"
#include "fuzz/fuzz_support.h"
#include "text/lex.h"
#include "text/lex_attribute.h"

namespace {

using namespace tessera;

// Reads every operation of the lexer's interface once per op byte, cycling, until the input ends.
void DriveLexer(CLex& lex, const std::vector<uint8_t>& ops, size_t budget) {
    if (ops.empty()) return;
    int32_t lastLine = lex.LineNumber();
    for (size_t step = 0; step < budget && lex.Kind() != TokPastEnd; ++step) {
        const uint8_t op = ops[step % ops.size()];
        const bool flag = (op & 0x80) != 0;
        std::string text, value;
        int32_t signedValue = 0;
        uint32_t unsignedValue = 0;
        int intValue = 0;
        switch (op % 24) {
            case 0:
                lex.NextToken();
                break;
            case 1:
                lex.SetLineMode(flag);
                break;
            case 2:
                lex.SetWordMode(flag);
                break;
            case 3:
                lex.RestOfLine();
                lex.NextToken();
                break;
            case 4:
                lex.AcceptChar(flag ? TokDigitLed + (op % 3) : "=,;:$!#"[op % 7], flag);
                break;
            case 5:
                lex.AcceptKeyword(flag ? "GAME" : "x", op & 1);
                break;
            case 6:
                lex.AcceptNameEqual("rule", flag);
                break;
            case 7:
                (void)lex.ReadSignedNumber(signedValue, flag);
                break;
            case 8:
                (void)lex.ReadUnsignedNumber(unsignedValue, flag);
                break;
            case 9:
                lex.ReadQuoted(text, flag);
                break;
            case 10:
                lex.ReadName(text, flag);
                break;
            case 11:
                lex.ReadNameValue(text, value, flag);
                break;
            case 12:
                lex.ExpectChar(op & 1 ? ',' : ';');
                break;
            case 13:
                lex.ExpectKeyword("ENDPATTERN");
                break;
            case 14:
                lex.ExpectSigned(signedValue);
                break;
            case 15:
                lex.ExpectSignedInt(intValue);
                break;
            case 16:
                lex.ExpectUnsigned(unsignedValue);
                break;
            case 17:
                lex.SkipLine();
                break;
            case 18: {
                CTime time;
                lex.ReadDateTime(time);
                break;
            }
            case 19:
                (void)lex.TokenText();
                (void)lex.TokenBeginsWith('#');
                break;
            case 20:
                lex.SkipToEnd();
                break;
            default:
                lex.NextToken();
                break;
        }
        // Lines are only ever read forwards.
        if (lex.LineNumber() < lastLine) std::abort();
        lastLine = lex.LineNumber();
    }
}

void ReadWithOperations(const std::vector<uint8_t>& ops, const std::string& text, bool fromStream) {
    std::istringstream stream(text);
    try {
        if (fromStream) {
            CLex lex(stream, "fuzz.lif");
            DriveLexer(lex, ops, 4 * text.size() + 64);
        } else {
            CLex lex(text);
            DriveLexer(lex, ops, 4 * text.size() + 64);
        }
    } catch (const CSyntaxException&) {
        // A malformed input is reported with its line: the expected way out.
    } catch (const CErrorException&) {
    }
}

// An object with a few numeric properties, as the game and pattern information carry them.
struct Sample {
    int32_t maxPopulation = 0;
    uint32_t minPopulation = 0;
    int64_t age = 0;
    int32_t period = 0;
    int32_t Period() const { return period; }
    void SetPeriod(int32_t value) { period = value; }
    bool HasAge() const { return age != 0; }

    static std::span<const CLexAttribute<Sample>* const> AttributeTable();
    friend bool operator==(const Sample&, const Sample&) = default;
};

const CLexAttributeAssign<Sample, int32_t> kMaxPopulation("MaxPopulation", &Sample::maxPopulation);
const CLexAttributeAssign<Sample, uint32_t> kMinPopulation("MinPopulation", &Sample::minPopulation);
const CLexAttributeAssign<Sample, int64_t> kAge("Age", &Sample::age, &Sample::HasAge);
const CLexAttributeFunction<Sample, int32_t> kPeriod("Period", &Sample::SetPeriod, &Sample::Period);
const CLexAttribute<Sample>* const kSampleTable[] = {&kMaxPopulation, &kMinPopulation, nullptr, &kAge,
                                                     &kPeriod};

std::span<const CLexAttribute<Sample>* const> Sample::AttributeTable() { return kSampleTable; }

class CountingReporter : public CAttributeErrorReporter {
public:
    void Report(const CAttributeValue& value) override {
        if (value.lineNumber < 1) std::abort();  // every value knows the line it came from
        ++count;
    }
    int count = 0;
};

// Reads "##TesseraAttribute name=value" lines as the file readers do, ignoring everything else.
void CollectAttributes(CLex& lex, CAttributeValueList& values) {
    const bool savedLineMode = lex.SetLineMode(true);
    while (lex.Kind() != TokEndOfFile && lex.Kind() != TokPastEnd) {
        if (lex.Kind() == TokWord && NamesMatch(lex.TokenText(), kAttributeMarker)) {
            const int32_t line = lex.LineNumber();
            lex.NextToken();
            std::string name, value;
            if (lex.ReadNameValue(name, value)) values.PushBack(new CAttributeValue(name, value, line));
        }
        lex.SkipLine();
    }
    lex.SetLineMode(savedLineMode);
}

void ReadAttributes(const std::string& text) {
    Sample sample;
    try {
        CLex lex(text);
        CAttributeValueList values;
        CollectAttributes(lex, values);
        CLexAttributeSetList sets;
        CLexAttributeSet<Sample> set(sets, sample);
        CountingReporter reporter;
        const bool allTaken = ApplyAttributes(sets, values, reporter);
        if (allTaken != (reporter.count == 0)) std::abort();
    } catch (const CSyntaxException&) {
        return;
    }

    // What was read survives a round trip through the writer.
    std::ostringstream written;
    WriteAttributes(written, sample);
    Sample reread;
    CLex lex(written.str());
    CAttributeValueList values;
    CollectAttributes(lex, values);
    CLexAttributeSetList sets;
    CLexAttributeSet<Sample> set(sets, reread);
    CountingReporter reporter;
    if (!ApplyAttributes(sets, values, reporter) || !(reread == sample)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool fromStream = (data[0] & 0x20) != 0;
    const size_t opCount = std::min<size_t>(data[0] & 0x1f, size - 1);
    const std::vector<uint8_t> ops(data + 1, data + 1 + opCount);
    const std::string text(reinterpret_cast<const char*>(data + 1 + opCount), size - 1 - opCount);
    ReadWithOperations(ops, text, fromStream);
    ReadAttributes(text);
    return 0;
}
