#include "formats/xl_collection.h"

#include <functional>
#include <queue>
#include <unordered_map>

#include "config/parameters.h"
#include "engine/transform.h"
#include "formats/input_limit_exception.h"
#include "formats/library_lookup.h"
#include "foundation/messages.h"
#include "text/lex.h"

namespace tessera {
namespace {

// Refuses an insertion that would put a cell of source outside the plane before a cell is set: the
// engine's own placement arithmetic wraps.
void CheckPlacementFits(CUniverse& source, const CTransform& transform, int32_t lineNumber) {
    if (source.Population() == 0) return;
    const CLRect bounds = source.GetBounds();
    const CTransform turn(0, 0, transform.orientation);
    const CLPoint u = turn.Apply({1, 0});
    const CLPoint v = turn.Apply({0, 1});
    for (const int64_t x : {int64_t{bounds.left}, int64_t{bounds.right} - 1})
        for (const int64_t y : {int64_t{bounds.top}, int64_t{bounds.bottom} - 1})
            CheckedInputCell(transform.xOffset + x * u.x + y * v.x, transform.yOffset + x * u.y + y * v.y,
                             lineNumber);
}

// The memory a paste takes beside what the heap holds: the target's rows are rebuilt with the new
// cells while the old rows stay until the new ones are complete, and the paste records every cell it
// sets, so that it can take them back, in a vector that may hold twice what it uses.
void CheckPasteFitsMemory(const CGrowableUniverse& target, const CGrowableUniverse& source) {
    constexpr uint64_t kRecordBytes = 2 * sizeof(CLPoint);
    const uint64_t cells = uint64_t{target.Population()} + source.Population();
    CheckBytesFitMemory(RowBytes(cells, uint64_t{target.RowCount()} + source.RowCount()) +
                        kRecordBytes * source.Population());
}

}  // namespace

bool CXLUniverse::HasPendingLocalInsertion() const {
    for (const CXLInsertion* insertion = insertions.First(); insertion; insertion = insertion->Next())
        if (insertion->IsLocal()) return true;
    return false;
}

CXLUniverseCollection::CXLUniverseCollection(std::string fileName) : fileName_(std::move(fileName)) {}

CXLUniverseCollection::~CXLUniverseCollection() {
    for (CXLUniverse* universe : InOrder()) Remove(universe);
}

std::vector<CXLUniverse*> CXLUniverseCollection::InOrder() const {
    if (!orderValid_) {
        order_.clear();
        for (auto* node = universes_.First(); node; node = universes_.Next(node))
            order_.push_back(node->Object());
        orderValid_ = true;
    }
    return order_;
}

CXLUniverse* CXLUniverseCollection::Insert(std::unique_ptr<CXLUniverse> universe) {
    universes_.InsertObject(universe.get());
    orderValid_ = false;
    return universe.release();
}

CXLUniverse* CXLUniverseCollection::FindOrCreate(const CName& name) {
    if (CXLUniverse* present = universes_.Find(name)) return present;
    return Insert(std::make_unique<CXLUniverse>(name));
}

CName CXLUniverseCollection::FreeName(const CName& base, int lastSuffix) {
    int& taken = takenSuffixes_[base];
    for (; taken <= lastSuffix; ++taken) {
        CName candidate = taken == 0 ? base : CName(base.Text() + "-" + std::to_string(taken));
        if (!universes_.Find(candidate)) return candidate;
    }
    return CName();
}

CXLUniverse* CXLUniverseCollection::CreateWithFreeName(const CName& name) {
    const CName free = FreeName(name, 999);
    return free.IsEmpty() ? nullptr : FindOrCreate(free);
}

CXLUniverse* CXLUniverseCollection::CreateFileLevel(std::string_view title) {
    return FindOrCreate(CName(std::string(1, '\0') + std::string(title)));
}

void CXLUniverseCollection::NameFileLevel(CXLUniverse* universe, std::string_view title) {
    universes_.RemoveObject(universe);
    universe->name = FreeName(CName(std::string(title)), INT32_MAX);
    universes_.InsertObject(universe);
    orderValid_ = false;
}

void CXLUniverseCollection::Remove(CXLUniverse* universe) {
    if (universe == topLevel_) topLevel_ = nullptr;
    if (universes_.RemoveObject(universe)) delete universe;
    orderValid_ = false;
    takenSuffixes_.clear();  // a name may be free again
}

void CXLUniverseCollection::RemoveEmptyUniverses() {
    for (CXLUniverse* universe : InOrder())
        if (universe->universe->Population() == 0) Remove(universe);
}

void CXLUniverseCollection::AddError(int messageId, const CLex* lex, int32_t lineNumber,
                                     std::string_view argument, std::string_view argument2) {
    const uint32_t limit = params::MaxXLifeErrors.GetUInt();
    if (errorCount_ > limit) return;
    if (errorCount_ == limit) {
        errors_.PushBack(
            new CXLErrorReport(0, "", FormatMessage(msg::XLTooManyErrors, std::to_string(errorCount_))));
        ++errorCount_;
        return;
    }
    if (lineNumber == 0 && lex) lineNumber = lex->LineNumber();
    errors_.PushBack(new CXLErrorReport(lineNumber, lex ? lex->LineText() : std::string(),
                                        FormatMessage(messageId, argument, argument2)));
    ++errorCount_;
}

void CXLUniverseCollection::AddWarning(int messageId, const CLex& lex) {
    if (params::XLifeStrict.GetInt() == 1) AddError(messageId, &lex, 0);
}

std::string CXLUniverseCollection::ErrorReportText() const {
    std::string text;
    for (const CXLErrorReport* report = errors_.First(); report; report = report->Next()) {
        text += "Line " + std::to_string(report->lineNumber) + ": " + report->message + ' ';
        if (!report->lineText.empty()) text += " \"" + report->lineText + '"';
        text += "\r\n";
    }
    return text;
}

std::string CXLUniverseCollection::ErrorReportCaption() const {
    return FormatMessage(msg::XLErrorReportCaption, fileName_);
}

void CXLUniverseCollection::ShowErrorReport(CFileDialogs& dialogs) const {
    if (errors_.IsEmpty()) return;
    dialogs.ShowErrorReport(ErrorReportCaption(), ErrorReportText());
}

// Resolves the universes in passes over the dictionary order until a pass makes no progress, as if
// each pass tried every universe still waiting. Only a universe that waits is tried again, and only
// once the block it waits for is complete: a chain of n insertions takes n steps, not n passes.
void CXLUniverseCollection::ResolveInsertions() {
    const std::vector<CXLUniverse*> universes = InOrder();
    std::unordered_map<const CXLUniverse*, size_t> indexOf;
    for (size_t i = 0; i < universes.size(); ++i) indexOf.emplace(universes[i], i);
    // (pass, index) of each try to come, earliest first; the universes waiting for each block.
    using CTry = std::pair<size_t, size_t>;
    std::priority_queue<CTry, std::vector<CTry>, std::greater<>> tries;
    for (size_t i = 0; i < universes.size(); ++i) tries.emplace(0, i);
    std::vector<std::vector<size_t>> waiting(universes.size());
    size_t unresolved = universes.size();
    while (!tries.empty()) {
        const auto [pass, i] = tries.top();
        tries.pop();
        if (const CXLUniverse* block = ResolveUniverse(*universes[i])) {
            waiting[indexOf.at(block)].push_back(i);
            continue;
        }
        --unresolved;
        // A waiting universe after this one is tried later in the same pass, one before it in the next.
        for (size_t waiter : waiting[i]) tries.emplace(waiter > i ? pass : pass + 1, waiter);
        waiting[i].clear();
    }
    if (unresolved > 0) AddError(msg::XLCircularInsertions, nullptr, 0);
    for (CXLUniverse* universe : universes) ResolveUniverse(*universe);
}

const CXLUniverse* CXLUniverseCollection::ResolveUniverse(CXLUniverse& target) {
    while (CXLInsertion* insertion = target.insertions.First()) {
        CXLUniverse* block =
            insertion->libraryName.empty() ? universes_.Find(CName(insertion->patternName)) : nullptr;
        if (insertion->IsLocal() && block && block->HasPendingLocalInsertion()) return block;
        std::unique_ptr<CGrowableUniverse> libraryCells;
        ELibraryLookup found = ELibraryLookup::LibraryNotLoaded;
        if (!insertion->libraryName.empty() && LibraryPatternLookup())
            found =
                LibraryPatternLookup()->Find(insertion->libraryName, insertion->patternName, libraryCells);
        if (!insertion->libraryName.empty() && found != ELibraryLookup::Found) {
            AddError(found == ELibraryLookup::PatternNotFound ? msg::XLInsertionNotInLibrary
                                                              : msg::XLLibraryNotLoaded,
                     nullptr, insertion->lineNumber, insertion->DisplayName());
        } else if (libraryCells) {
            WithInputLimits(insertion->lineNumber, [&] {
                const CTransform transform(insertion->x, insertion->y, insertion->transform);
                CheckPlacementFits(*libraryCells, transform, insertion->lineNumber);
                CheckPasteFitsMemory(*target.universe, *libraryCells);
                PasteFrom(*target.universe, *libraryCells, transform);
            });
        } else if (!block) {
            AddError(msg::XLInsertionNotInFile, nullptr, insertion->lineNumber, insertion->DisplayName());
        } else {
            WithInputLimits(insertion->lineNumber, [&] {
                // A block placed into itself (possible only with a delay) is copied before it grows.
                std::unique_ptr<CGrowableUniverse> copy;
                CGrowableUniverse* source = block->universe.get();
                if (block == &target) {
                    copy = std::make_unique<CGrowableUniverse>(*block->universe);
                    source = copy.get();
                }
                // Insertions that double a block at each level reach any size in a few lines: each is
                // refused before its cells are made when they would not fit.
                CheckPasteFitsMemory(*target.universe, *source);
                const CTransform transform(insertion->x, insertion->y, insertion->transform);
                CheckPlacementFits(*source, transform, insertion->lineNumber);
                if (transform == CTransform()) {
                    PasteFrom(*target.universe, *source);
                } else {
                    PasteFrom(*target.universe, *source, transform);
                }
            });
        }
        insertion->Unlink();
        delete insertion;
    }
    return nullptr;
}

CXLUniverse* CXLUniverseCollection::SelectUniverse(CFileDialogs& dialogs) {
    const int count = UniverseCount();
    if (count == 0) return nullptr;
    if (count == 1) return At(1);
    return At(dialogs.SelectUniverse(*this));
}

CXLUniverse* CXLUniverseCollection::At(int index) const {
    if (index < 1 || index > UniverseCount()) return nullptr;
    if (!orderValid_) InOrder();
    return order_[static_cast<size_t>(index - 1)];
}

int CXLUniverseCollection::UniverseCount() const { return static_cast<int>(universes_.Count()); }

CUniverse* CXLUniverseCollection::UniverseAt(int index) const {
    CXLUniverse* universe = At(index);
    return universe ? universe->universe.get() : nullptr;
}

std::string CXLUniverseCollection::NameAt(int index) const {
    CXLUniverse* universe = At(index);
    return universe ? universe->name.Text() : std::string();
}

int CXLUniverseCollection::IndexOf(const CName& name) const {
    int index = 1;
    for (auto* node = universes_.First(); node; node = universes_.Next(node), ++index)
        if (node->Object()->name == name) return index;
    return 0;
}

}  // namespace tessera
