// Library files: both forms round-trip every property, names made unique, the backup copy, the preload
// list, the library limit, damaged files, library insertions in XLife files, and the shipped system
// library: every pattern in it is what it says it is and is recognised wherever it stands.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "engine/searchable_universe.h"
#include "engine/transform.h"
#include "formats/xl_import.h"
#include "games/task_scheduler.h"
#include "patterns/library_commands.h"
#include "patterns/library_front_end.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "support/cells.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "text/lex.h"

namespace tessera::test {
namespace {

// A library test runs with its own configuration file and folder (see TempConfigTest), a front end that
// records what it is told, and closes every library when it ends.
class CRecordingLibraryFrontEnd : public CLibraryFrontEnd {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::string_view) override { return true; }
    bool AskOkCancel(std::string_view) override { return true; }
    std::optional<std::string> AskSaveFileName(std::string_view, std::string_view,
                                               std::string_view) override {
        return std::nullopt;
    }
    void ShowProgress(std::string_view) override {}
    void ShowErrorReport(std::string_view, std::string_view report) override { reports.emplace_back(report); }
    void LibrariesChanged() override {}

    std::vector<std::string> messages, reports;
};

class LibraryTest : public TempConfigTest {
protected:
    void SetUp() override {
        TempConfigTest::SetUp();
        InstallLibraryFrontEnd(&frontEnd_);
    }
    void TearDown() override {
        CloseAllLibraries();
        InstallLibraryFrontEnd(nullptr);
        TempConfigTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return temp_.PathOf(name); }
    void WriteFile(const std::string& name, const std::string& text) const { temp_.Write(name, text); }
    std::string ReadFile(const std::string& name) const { return test::ReadFile(folder_ / name); }
    // Loads the library and turns an XLife-form file into patterns at once.
    CPatternLibrary* Load(const std::string& name, bool readOnly = false, bool preload = false) {
        CPatternLibrary* library = nullptr;
        EXPECT_EQ(LoadLibrary(PathOf(name), readOnly, preload, &library), 0);
        FinishLibraryLoadingNow();
        return library;
    }

    CRecordingLibraryFrontEnd frontEnd_;
};

struct Snapshot {
    std::string name;
    Cells cells;
    EPatternType type;
    EPatternSymmetry symmetry;
    int32_t period, cycleStart, fold;
    int foldTransform;
    CLSize velocity;
    bool recognizable;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
    friend void PrintTo(const Snapshot& s, std::ostream* out) {
        *out << s.name << ": " << s.cells.size() << " cells, " << PatternTypeWord(s.type) << " period "
             << s.period;
    }
};

std::vector<Snapshot> SnapshotOf(CPatternLibrary& library) {
    std::vector<Snapshot> out;
    for (CNamedPattern* e : library.Entries()) {
        CPattern& p = e->Pattern();
        p.GetType();  // an unclassified pattern is classified when first asked
        out.push_back({e->Name(), CellsOf(p.Base()), p.DeclaredType(), p.Symmetry(), p.Period(),
                       p.CycleStart(), p.FoldPeriod(), p.FoldTransform(), p.Velocity(), p.IsRecognizable()});
    }
    return out;
}

void Add(CPatternLibrary& library, const std::string& name, const Cells& cells, ERecognizable request) {
    auto pattern = CreatePattern(*MakeUniverse(cells), request);
    ASSERT_NE(NameNewPattern(pattern, name, &library), nullptr);
}

TEST_F(LibraryTest, BothFormsRoundTripEveryProperty) {
    for (const int xlifeForm : {1, 0}) {
        SCOPED_TRACE(xlifeForm ? "XLife form" : "native form");
        params::PatternXLifeFormat.SetInt(xlifeForm);
        CPatternLibrary* library = nullptr;
        ASSERT_EQ(CreateNewLibrary(PathOf("round.lfl"), &library), 0);
        std::mt19937 rng(4711);
        for (int i = 0; i < 24; ++i) {
            const Cells soup = RandomSoup(rng, 0, 0, 3 + i % 4, 3 + i % 3, 0.5);
            if (!soup.empty()) Add(*library, "soup " + std::to_string(i), soup, ERecognizable::ByDefaultRule);
        }
        Add(*library, "glider", Glider(), ERecognizable::ByDefaultRule);
        // The user's choices against the default rule, and declared properties.
        Add(*library, "big still", {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, ERecognizable::No);
        const Cells r{{1, 0}, {2, 0}, {0, 1}, {1, 1}, {1, 2}};
        Add(*library, "r", r, ERecognizable::Yes);
        FindNamedPattern("r", library)->Pattern().SetDeclaredProperties(EPatternType::Gun, 30, 0, 0);
        const std::vector<Snapshot> before = SnapshotOf(*library);
        // The creation date survives; one that was unreadable stays unknown.
        const CTime created = xlifeForm ? CTime::FromLocal(2020, 1, 2, 3, 4, 5) : CTime();
        library->created = created;
        ASSERT_TRUE(SaveLibrary(*library));
        EXPECT_FALSE(library->IsModified());
        CloseAllLibraries();

        library = Load("round.lfl");
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(SnapshotOf(*library), before);
        EXPECT_EQ(library->created, created);
        EXPECT_FALSE(library->IsReadOnly());
        EXPECT_TRUE(frontEnd_.messages.empty());
        EXPECT_TRUE(frontEnd_.reports.empty());
        CloseAllLibraries();
    }
}

TEST_F(LibraryTest, NativeFileNamesBackupAndDamage) {
    const std::string block = "SYMMETRY none\nTYPE still\n0,0:2;\n1,0:2;\nENDPATTERN\n";
    WriteFile("native.lfl", "LIBRARY\nCREATED 2024-3-9 7:5:0\nUPDATED 2024-3-9 7:5:0\nPATTERN \"Block\"\n" +
                                block + "PATTERN \"block\"\n" + block + "PATTERN \"b lock\"\n" + block +
                                "PATTERN \"ok\"\nSYMMETRY 1\nTYPE 2\n0,0:2;\n1,0:2;\nENDPATTERN\n"
                                "PATTERN \"bad\"\nSYMMETRY sideways\nTYPE still\nENDPATTERN\nENDLIBRARY\n");
    CPatternLibrary* library = Load("native.lfl");
    ASSERT_NE(library, nullptr);
    std::vector<std::string> names;
    for (CNamedPattern* e : library->Entries()) names.push_back(e->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Block", "block-1", "b lock-2", "ok"}));
    ASSERT_EQ(frontEnd_.messages.size(), 1u);
    EXPECT_EQ(frontEnd_.messages[0],
              "Syntax error at line 29 in library file \"" + PathOf("native.lfl") + "\"");
    EXPECT_TRUE(library->IsReadOnly());
    // The stored symmetry "none" gives way to the one of the cells.
    CPattern& pattern = FindNamedPattern("ok", library)->Pattern();
    EXPECT_EQ(pattern.Symmetry(), EPatternSymmetry::Final);
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(CellsOf(pattern.GetPatternGeneration(t, 5)), CellsOf(pattern.Base()));

    // Saving keeps the previous file as .bak.
    const std::string original = ReadFile("native.lfl");
    params::PatternXLifeFormat.SetInt(0);
    ASSERT_TRUE(SaveLibrary(*library));
    EXPECT_EQ(ReadFile("native.bak"), original);
    EXPECT_NE(ReadFile("native.lfl"), original);
    EXPECT_TRUE(SaveLibrary(*library));
    EXPECT_NE(ReadFile("native.bak"), original);

    // A save that fails half-way keeps the old file and the backup, and says why.
    const std::string saved = ReadFile("native.lfl");
    library->SetModified();
    {
        const CFileSizeLimit full(16);
        EXPECT_FALSE(SaveLibrary(*library));
    }
    EXPECT_EQ(ReadFile("native.lfl"), saved);
    EXPECT_EQ(ReadFile("native.bak"), saved);
    ASSERT_FALSE(frontEnd_.messages.empty());
    EXPECT_EQ(frontEnd_.messages.back(), "Can't open file " + PathOf("native.lfl") + " to save " +
                                             library->Description() + ": File too large.");

    // A file that cannot be written leaves the library modified.
    library->SetFileName(PathOf("missing/folder/x.lfl"));
    library->SetModified();
    EXPECT_FALSE(SaveLibrary(*library));
    EXPECT_TRUE(library->IsModified());
}

TEST_F(LibraryTest, PreloadListSurvivesARestartAndTheLimitHolds) {
    params::LoadSystemLibrary.SetInt(0);
    params::LoadUserLibrary.SetInt(0);
    for (int i = 1; i <= 9; ++i)
        WriteFile("l" + std::to_string(i) + ".lfl", "#B glider\n.*.\n..*\n***\n#E\n");
    CPatternLibrary* kept = Load("l1.lfl", true, true);
    Load("l2.lfl", false, false);
    CPatternLibrary* third = Load("l3");
    ApplyLibraryFlags(*third, false, true);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(LoadLibrary(PathOf("l1.lfl"), false, false), 1058);
    CloseAllLibraries();

    LoadStartupLibraries();
    FinishLibraryLoadingNow();
    std::vector<std::pair<std::string, bool>> loaded;
    for (CPatternLibrary* l = Libraries().First(); l; l = l->Next())
        loaded.emplace_back(l->FileName(), l->IsReadOnly());
    EXPECT_EQ(loaded, (std::vector<std::pair<std::string, bool>>{{PathOf("l1.lfl"), true},
                                                                 {PathOf("l3.lfl"), false}}));

    for (int i = 4; i <= 9; ++i) Load("l" + std::to_string(i) + ".lfl");
    Load("l2.lfl");
    const size_t entries = NamedPatterns().Count();
    EXPECT_EQ(LoadLibrary(PathOf("other.lfl"), false, false), 2056);
    EXPECT_EQ(CreateNewLibrary(PathOf("new.lfl")), 2056);
    EXPECT_EQ(Libraries().Count(), 9);
    EXPECT_EQ(NamedPatterns().Count(), entries);
    EXPECT_EQ(frontEnd_.messages.back(), "Too many libraries already loaded, can't load or create any more");
}

TEST_F(LibraryTest, ClosingEveryLibraryWhileSeveralWaitToLoadLeavesNoTaskBehind) {
    for (const char* name : {"a.lfl", "b.lfl", "c.lfl"}) {
        WriteFile(name, "#B glider\n.*.\n..*\n***\n#E\n#B blinker\n***\n#E\n");
        ASSERT_EQ(LoadLibrary(PathOf(name), false, false), 0);
    }
    ASSERT_NE(LibraryLoadTask(), nullptr);
    CloseAllLibraries();
    EXPECT_EQ(LibraryLoadTask(), nullptr);
    EXPECT_EQ(Libraries().Count(), 0);
    EXPECT_TRUE(TheTaskScheduler().TaskQueue().IsEmpty());
}

TEST_F(LibraryTest, XLifeInsertionsOfLibraryPatterns) {
    WriteFile("shapes.lfl", "#B glider\n.*.\n..*\n***\n#E\n");
    ASSERT_NE(Load("shapes.lfl"), nullptr);
    CLex lex("#I SHAPES:glider 10 20 2\n#I shapes:nothing\n");
    auto collection = ReadXLife(lex, "top", "file");
    ASSERT_EQ(collection->UniverseCount(), 1);
    // The glider turned half round, its corner moved to (8, 18).
    EXPECT_EQ(CellsOf(*collection->UniverseAt(1)), CellsFromPicture("***\n*..\n.*.", 8, 18));
    EXPECT_NE(collection->ErrorReportText().find("Insertion SHAPES:nothing not found in library file"),
              std::string::npos);
}

// A puffer, once settled, grows in each period while one edge of it, the front, moves on as far.
void ExpectPuffer(CPattern& puffer) {
    std::unique_ptr<CGrowableUniverse> generation = puffer.Base().Clone();
    std::vector<std::pair<uint32_t, CLRect>> periods;  // population and bounds after 4, 5 and 6 periods
    for (int32_t g = 1; g <= 6 * puffer.Period(); ++g) {
        generation = generation->Grow(nullptr);
        if (g >= 4 * puffer.Period() && g % puffer.Period() == 0)
            periods.push_back({generation->Population(), generation->GetBounds()});
    }
    ASSERT_EQ(periods.size(), 3u);
    EXPECT_TRUE(periods[0].first < periods[1].first && periods[1].first < periods[2].first);
    auto moves = [&](int32_t CLRect::*edge) {
        const int32_t step = periods[1].second.*edge - periods[0].second.*edge;
        return step != 0 && periods[2].second.*edge - periods[1].second.*edge == step;
    };
    EXPECT_TRUE(moves(&CLRect::left) || moves(&CLRect::right) || moves(&CLRect::top) ||
                moves(&CLRect::bottom));
}

// Every pattern of the shipped system library is what it says it is. Every recognisable one, grown to
// each of its phases and turned into each orientation, is found where it stands: the placement reported
// puts exactly the world's cells there.
TEST_F(LibraryTest, ShippedSystemLibraryIsWhatItSaysAndIsRecognisedEverywhere) {
    InstallRecognition();
    params::LoadUserLibrary.SetInt(0);
    LoadStartupLibraries();
    FinishLibraryLoadingNow();
    CPatternLibrary* system = FindLibrary(kSystemLibraryNumber);
    EXPECT_TRUE(frontEnd_.messages.empty());
    EXPECT_TRUE(frontEnd_.reports.empty());
    ASSERT_NE(system, nullptr);
    EXPECT_TRUE(system->IsReadOnly());
    ASSERT_GE(system->Entries().size(), 35u);
    int recognisable = 0;
    for (CNamedPattern* entry : system->Entries()) {
        SCOPED_TRACE(entry->Name());
        CPattern& pattern = entry->Pattern();
        auto fresh = CreatePattern(pattern.Base(), ERecognizable::No);
        const EPatternType found = fresh->Classify(params::PatternMaxCycle.GetInt());
        // Guns and puffers grow: only their declaration says what they are.
        if (pattern.DeclaredType() == EPatternType::Gun || pattern.DeclaredType() == EPatternType::Puffer)
            EXPECT_EQ(found, EPatternType::Unstable);
        else
            EXPECT_EQ(std::pair(found, fresh->Period()), std::pair(pattern.DeclaredType(), pattern.Period()));
        if (pattern.DeclaredType() == EPatternType::Puffer) ExpectPuffer(pattern);
        if (!pattern.IsRecognizable()) continue;
        ++recognisable;
        std::unique_ptr<CGrowableUniverse> generation = pattern.Base().Clone();
        for (int32_t phase = 0; phase < std::max(pattern.Period(), 1);
             ++phase, generation = generation->Grow(nullptr)) {
            for (int orientation = 0; orientation < kOrientationCount; ++orientation) {
                auto world = MakeUniverse({}, pattern.Base().GetRuleCode());
                PasteFrom(*world, *generation, CTransform(-40 + 3 * orientation, 25 - phase, orientation));
                CSearchableUniverse hashed(*world);
                hashed.SetRuleCode(world->GetRuleCode());
                auto object = ConnectedCells(hashed, hashed.FirstCell(), UniverseLimits);
                CPatternRef placement;
                ASSERT_TRUE(Recognise(*object, hashed, placement)) << phase << " " << orientation;
                EXPECT_EQ(&pattern, placement.pattern) << phase << " " << orientation;
                CUniverse& placed = pattern.GetPatternGeneration(placement.transform, placement.phase);
                CUniverseUse use(placed);
                EXPECT_EQ(CellsOf(*world), Shifted(CellsOf(placed), placement.offsetX, placement.offsetY))
                    << phase << " " << orientation;
                // The same cells under another rule are nothing the library knows.
                hashed.SetRuleCode(world->GetRuleCode() ^ (1u << 15));
                EXPECT_FALSE(Recognise(*object, hashed, placement));
            }
        }
    }
    EXPECT_GE(recognisable, 30);
    CloseAllLibraries();
    ResetRecognition();
}

}  // namespace
}  // namespace tessera::test
