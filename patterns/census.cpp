#include "patterns/census.h"

#include <algorithm>
#include <ostream>

#include "foundation/messages.h"
#include "foundation/name.h"
#include "foundation/safe_file.h"
#include "games/game.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern.h"
#include "patterns/pattern_library.h"

namespace tessera {
namespace {

uint32_t QuantityOf(CNamedPattern& entry, ECensusMode mode, const CCensusResult* last) {
    if (mode == ECensusMode::Total) return entry.censusCount;
    if (!last) return 0;
    const auto found = last->found.find(&entry);
    return found == last->found.end() ? 0 : found->second;
}

}  // namespace

CCensus& TheCensus() {
    static CCensus census;
    return census;
}

void ZeroCounts() {
    for (CNamedPattern* entry = NamedPatterns().First(); entry; entry = CNamedPatternDict::Next(entry))
        entry->censusCount = 0;
}

std::unique_ptr<CCensusResult> CCensus::Run(CUniverse& universe, int32_t libraryNumber,
                                            const CClassifyProgress& progress) {
    auto result = std::make_unique<CCensusResult>();
    ClassifyUniverse(*result, universe, libraryNumber, kCensusFlags, progress);
    return result;
}

const CCensusResult* CCensus::Open(CGame& game, CCensusFrontEnd& frontEnd) {
    if (last_ && gameSerial_ == game.Serial() && generation_ == game.Generation() &&
        libraryChanges_ == LibraryChangeCount())
        return last_.get();
    if (!FindLibrary(libraryNumber_) && !frontEnd.ChooseCensusLibrary()) return nullptr;
    last_.reset();
    last_ = Run(game.Current(), libraryNumber_, [&frontEnd](int percent) {
        frontEnd.ShowProgress(FormatMessage(msg::CountingObjects, {}, std::to_string(percent)));
    });
    frontEnd.ShowProgress({});
    gameSerial_ = game.Serial();
    generation_ = game.Generation();
    libraryChanges_ = LibraryChangeCount();
    return last_.get();
}

void CCensus::ClickColumn(ECensusColumn column) {
    if (column == sortColumn_) {
        ascending_ = !ascending_;
    } else {
        sortColumn_ = column;
        ascending_ = true;
    }
}

std::vector<CCensusRow> CCensus::Rows(ECensusMode mode) const {
    std::vector<CCensusRow> rows;
    for (CNamedPattern* entry = NamedPatterns().First(); entry; entry = CNamedPatternDict::Next(entry)) {
        const uint32_t quantity = QuantityOf(*entry, mode, last_.get());
        if (quantity == 0) continue;
        rows.push_back({entry, entry->Name(), quantity, entry->Pattern().Base().Population()});
    }
    // Names shown twice are told apart by their libraries.
    for (CCensusRow& row : rows) {
        const bool clash = std::any_of(rows.begin(), rows.end(), [&](const CCensusRow& other) {
            return other.pattern != row.pattern && CName(other.pattern->Name()) == CName(row.pattern->Name());
        });
        if (clash) row.name = row.pattern->FullName();
    }
    const auto before = [this](const CCensusRow& a, const CCensusRow& b) {
        switch (sortColumn_) {
            case ECensusColumn::Quantity:
                return a.quantity < b.quantity;
            case ECensusColumn::Size:
                return a.size < b.size;
            default:
                return a.pattern->FullName() < b.pattern->FullName();
        }
    };
    if (ascending_)
        std::stable_sort(rows.begin(), rows.end(), before);
    else
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const CCensusRow& a, const CCensusRow& b) { return before(b, a); });
    return rows;
}

std::string CCensus::ExportText(ECensusMode mode) const {
    std::string text;
    for (const CCensusRow& row : Rows(mode))
        text += row.name + "," + std::to_string(row.quantity) + "," + std::to_string(row.size) + "\n";
    return text;
}

std::string CCensus::Export(ECensusMode mode, const std::string& fileName) const {
    const std::string text = ExportText(mode);
    try {
        WriteFileSafely(fileName, [&](std::ostream& out) { out << text; });
    } catch (const CFileException& error) {
        return WithSystemReason(FormatMessage(msg::CensusExportFailed, fileName), error.SystemError());
    }
    return {};
}

std::string CCensus::Title(ECensusMode mode, const CGame* game) const {
    if (mode == ECensusMode::Total || !game) return std::string(MessageText(msg::TotalCensusTitle));
    return FormatMessage(msg::CensusTitle, game->Title(false), std::to_string(game->Generation()));
}

std::string CCensus::Summary() const {
    if (!last_) return {};
    return FormatMessage(msg::CensusSummary, std::to_string(last_->objectCount),
                         std::to_string(last_->newCount),
                         std::to_string(last_->unclassifiable->Population()));
}

void CCensus::Reset() { *this = CCensus(); }

}  // namespace tessera
