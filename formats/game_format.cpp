#include "formats/game_format.h"

#include <cstdint>
#include <ctime>
#include <iomanip>
#include <memory>
#include <optional>
#include <string>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "formats/description_lines.h"
#include "formats/file_dialogs.h"
#include "formats/input_limit_exception.h"
#include "games/game_registry.h"
#include "rules/rule_notation.h"
#include "rules/rule_text.h"
#include "rules/rules.h"
#include "text/lex.h"

namespace tessera {
namespace {

// The rule of a "RULE" line: the program's own notation first, as it writes it, then the forms other
// programs write. Anything else is a syntax error of that line, never the rule of its first characters.
RuleCode GameRule(std::string_view text, int32_t line) {
    if (const std::optional<RuleCode> own = ReadOwnRuleNotation(text)) return *own;
    const CRuleTextReading reading = ReadRuleText(text);
    if (!reading.IsRule()) throw CSyntaxException(line);
    return reading.code;
}

// One row record: row, comma, first column, then runs; the column of the last cell set is where each
// distance is measured from.
void ReadRow(CGrowableUniverse& universe, CLex& lex) {
    const int32_t line = lex.LineNumber();
    int32_t row = 0, first = 0;
    lex.ExpectSigned(row);
    lex.ExpectChar(',');
    lex.ExpectSigned(first);
    int64_t column = first;
    for (;;) {
        int32_t count = 1;
        if (lex.AcceptChar(':')) {
            const int32_t countLine = lex.LineNumber();
            lex.ExpectSigned(count);
            // A run must hold a cell; anything else would never end.
            if (count < 1) throw CSyntaxException(countLine);
        }
        CheckRunLength(static_cast<uint64_t>(count), line);
        WithInputLimits(line, [&] {
            for (int32_t i = 0; i < count; ++i) {
                const CInputCell cell = CheckedInputCell(column + i, row, line);
                universe.SetCell(cell.x, cell.y);
            }
        });
        const int64_t last = column + count - 1;
        if (lex.AcceptChar(';')) return;
        int32_t distance = 0;
        lex.ExpectSigned(distance);
        column = last + distance;
    }
}

void WriteLine(std::ostream& out, const std::string& text) {
    out << text << '\n';
    out.flush();
}

std::string LocalDateAndTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream text;
    text << std::put_time(&local, "%x %X");
    return text.str();
}

void WriteBlock(CUniverse& universe, int64_t fileNumber, bool noTrim, bool current, std::ostream& out) {
    std::string head = "GENERATION " + std::to_string(fileNumber);
    if (noTrim) head += " NOTRIM";
    if (current) head += " CURRENT";
    WriteLine(out, head);
    WriteUniverse(universe, out);
}

// What a game file holds, gathered before the game is made.
struct CGameFileContent {
    std::string name;
    bool named = false;
    uint32_t maxPopulation = 0, minPopulation = 0;
    int32_t maxGeneration = 0, minGeneration = 0;
    std::string description;
    CGenerationList generations;
    CUniverse* current = nullptr;
};

void ReadGenerations(CGameFileContent& content, CLex& lex) {
    // File numbers are generations plus the base, so the last generation a game can reach is one
    // beyond the 32-bit range in a file that counts from 1.
    int64_t base = 0, previous = 0;
    bool first = true;
    while (!lex.AcceptKeyword("ENDGAME")) {
        lex.ExpectKeyword("GENERATION");
        int64_t number = 0;
        const int32_t numberLine = lex.LineNumber();
        if (!lex.ReadWideNumber(number)) lex.SyntaxError();
        if (first ? (number != 0 && number != 1) : number <= previous) throw CSyntaxException(numberLine);
        if (number - (first ? number : base) > INT32_MAX) throw CNumberRangeException(numberLine);
        if (first) base = number;
        const bool noTrim = lex.AcceptKeyword("NOTRIM");
        const bool current = lex.AcceptKeyword("CURRENT");
        auto universe = std::make_unique<CGrowableUniverse>();
        universe->SetGeneration(static_cast<int32_t>(number - base));
        ReadUniverse(*universe, lex);
        if (noTrim) universe->SetModified(true);
        CUniverse* raw = universe.get();
        content.generations.PushBack(Owned(std::move(universe)));
        if (current) content.current = raw;
        previous = number;
        first = false;
    }
    // A file that ends at once has only its empty start.
    if (first) content.generations.PushBack(Owned(std::make_unique<CGrowableUniverse>()));
}

}  // namespace

void ReadUniverse(CGrowableUniverse& universe, CLex& lex) {
    int32_t ignored = 0;
    if (lex.AcceptKeyword("MAXROWPOP")) lex.ExpectSigned(ignored);
    universe.SetRuleCode(DefaultRuleCode());
    if (lex.AcceptKeyword("RULE", false)) {
        // The rule is the rest of its line: the row records after it begin with digits too.
        const bool savedLineMode = lex.SetLineMode(true);
        const int32_t ruleLine = lex.LineNumber();
        lex.NextToken();
        const std::string text = lex.Kind() == TokEndOfLine ? std::string() : std::string(lex.RestOfLine());
        universe.SetRuleCode(GameRule(text, ruleLine));
        if (lex.Kind() != TokEndOfLine) lex.NextToken();
        lex.SetLineMode(savedLineMode);
        lex.NextToken();
    }
    while (!lex.AcceptKeyword("ENDPATTERN")) ReadRow(universe, lex);
}

void WriteUniverse(CUniverse& universe, std::ostream& out) {
    const size_t lineLength = params::LineLength.GetUInt();
    CGrowableUniverse& rows = universe.GetGrowable();
    rows.Consolidate();
    WriteLine(out, "MAXROWPOP " + std::to_string(rows.MaxRowPopulation()));
    if (universe.GetRuleCode() != DefaultRuleCode())
        WriteLine(out, "RULE " + FormatRule(universe.GetRuleCode()));
    ExplorePtr cells = RequireExploration(rows.ExploreSorted());
    std::string line;
    bool inRow = false;
    int32_t rowY = 0;
    int64_t runStart = 0, runEnd = 0;  // the run being collected, [runStart, runEnd)
    auto endRun = [&] {
        if (runEnd - runStart > 1) line += ":" + std::to_string(runEnd - runStart);
    };
    while (cells->Next()) {
        const CLPoint p = cells->Current();
        if (inRow && p.y == rowY && p.x == runEnd) {
            ++runEnd;
            continue;
        }
        if (inRow) endRun();
        if (inRow && p.y == rowY) {
            if (line.size() > lineLength) {
                WriteLine(out, line);
                line.clear();
            }
            line += " " + std::to_string(int64_t{p.x} - (runEnd - 1));
        } else {
            if (inRow) {
                WriteLine(out, line + ";");
                line.clear();
            }
            line = std::to_string(p.y) + "," + std::to_string(p.x);
            rowY = p.y;
            inRow = true;
        }
        runStart = p.x;
        runEnd = int64_t{p.x} + 1;
    }
    if (inRow) {
        endRun();
        WriteLine(out, line + ";");
    }
    WriteLine(out, "ENDPATTERN");
}

CGame* ReadGame(CGameRegistry& games, CLex& lex, CFileDialogs& dialogs) {
    CGameFileContent content;
    content.named = lex.ReadQuoted(content.name);
    int32_t ignored = 0;
    if (lex.AcceptKeyword("AGE")) lex.ExpectSigned(ignored);
    if (lex.AcceptKeyword("MAXPOP")) {
        lex.ExpectUnsigned(content.maxPopulation);
        lex.ExpectKeyword("AT");
        lex.ExpectSigned(content.maxGeneration);
    }
    if (lex.AcceptKeyword("MINPOP")) {
        lex.ExpectUnsigned(content.minPopulation);
        lex.ExpectKeyword("AT");
        lex.ExpectSigned(content.minGeneration);
    }
    for (bool firstLine = true; lex.AcceptKeyword("D", false); firstLine = false) {
        std::string_view text = lex.RestOfLine().substr(1);
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        if (!firstLine) content.description += "\r\n";
        content.description += text;
        lex.NextToken();
    }
    ReadGenerations(content, lex);

    CGame& game = games.NewGame(std::move(content.generations));
    if (content.current) game.RestoreCurrent(*content.current);
    game.SetMaxPopulation(content.maxPopulation);
    game.SetMaxPopulationGeneration(content.maxGeneration);
    game.SetMinPopulation(content.minPopulation);
    game.SetMinPopulationGeneration(content.minGeneration);
    game.SetDescription(std::move(content.description));
    if (content.named && !NameGame(game, CName(content.name), dialogs)) {
        games.DestroyGame(game);
        return nullptr;
    }
    return &game;
}

namespace {

// The name as the reader takes it back: in double quotes, or in brackets when it holds a double quote
// itself (names read from XLife "#N" lines may). A name that holds both a double quote and a closing
// bracket cannot be delimited either way; its double quotes are written as apostrophes.
std::string DelimitedName(std::string name) {
    if (name.find('"') == std::string::npos) return "\"" + name + "\"";
    if (name.find(']') == std::string::npos) return "[" + name + "]";
    for (char& c : name)
        if (c == '"') c = '\'';
    return "\"" + name + "\"";
}

}  // namespace

void WriteGame(CGame& game, std::ostream& out) {
    WriteLine(out, "! Written by Tessera at " + LocalDateAndTime());
    WriteLine(out, game.IsNamed() ? "GAME " + DelimitedName(game.Name().Text()) : std::string("GAME"));
    WriteLine(out, " AGE " + std::to_string(game.Last().Generation()));
    WriteLine(out, " MAXPOP " + std::to_string(game.MaxPopulation()) + " AT " +
                       std::to_string(game.MaxPopulationGeneration()));
    WriteLine(out, " MINPOP " + std::to_string(game.MinPopulation()) + " AT " +
                       std::to_string(game.MinPopulationGeneration()));
    for (const std::string& line : DescriptionLines(game.Description(), params::LineLength.GetUInt()))
        WriteLine(out, "D " + line);
    CUniverse& start = game.First();
    WriteBlock(start, 1, false, false, out);
    for (CUniverse* u = start.Next(); u; u = u->Next()) {
        const bool current = u == &game.Current();
        if (u->IsModified() || current || u == &game.Last())
            WriteBlock(*u, int64_t{u->Generation()} + 1, u->IsModified(), current, out);
    }
    WriteLine(out, "ENDGAME");
}

bool NameGame(CGame& game, CName name, CFileDialogs& dialogs) {
    while (!game.SetName(name)) {
        if (!dialogs.AskForOtherName(name)) return false;
    }
    return true;
}

}  // namespace tessera
