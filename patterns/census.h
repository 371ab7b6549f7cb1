#pragma once
// The census: what a game's current generation is made of, counted by named pattern, with shapes not
// seen before added to the census library; counts also add up across censuses. The operations and the
// table model here are what the census dialog shows.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "patterns/classify_universe.h"

namespace tessera {

class CGame;
class CNamedPattern;

enum class ECensusMode { Census, Total };
enum class ECensusColumn { Name = 0, Quantity = 1, Size = 2 };

// What the census needs from the person using it.
class CCensusFrontEnd {
public:
    virtual ~CCensusFrontEnd() = default;
    // No library has the census library number: let the user choose one; false when cancelled.
    virtual bool ChooseCensusLibrary() = 0;
    // Progress of a census run, as the text of message CountingObjects; empty when done.
    virtual void ShowProgress(const std::string& text) = 0;
};

struct CCensusRow {
    CNamedPattern* pattern = nullptr;
    std::string name;  // the name, or the full name when another row has the same name
    uint32_t quantity = 0;
    uint32_t size = 0;  // population of the pattern's base universe
};

// The process-wide census state: the last result and where it was taken, the library for new
// patterns, and the table's sort order.
class CCensus {
public:
    // The census of the game's current generation: the last result when nothing has changed since,
    // else a new run. None when the user cancelled the choice of library.
    const CCensusResult* Open(CGame& game, CCensusFrontEnd& frontEnd);
    // Runs the census of universe into a new result.
    [[nodiscard]] static std::unique_ptr<CCensusResult> Run(CUniverse& universe, int32_t libraryNumber,
                                                            const CClassifyProgress& progress = {});

    const CCensusResult* Last() const { return last_.get(); }
    int32_t LibraryNumber() const { return libraryNumber_; }
    void SetLibraryNumber(int32_t number) { libraryNumber_ = number; }

    // Clicking a column: the same one flips the direction, another becomes the ascending sort column.
    void ClickColumn(ECensusColumn column);
    ECensusColumn SortColumn() const { return sortColumn_; }
    bool Ascending() const { return ascending_; }

    // The rows in the table's order.
    std::vector<CCensusRow> Rows(ECensusMode mode) const;
    // Each row as Name,Quantity,Size and a line break.
    std::string ExportText(ECensusMode mode) const;
    // Replaces the file by the export text; empty, or the message saying why it could not be written
    // (the old file then stays as it was).
    std::string Export(ECensusMode mode, const std::string& fileName) const;
    // "Census of <game> at generation <n>" or "Total Census".
    std::string Title(ECensusMode mode, const CGame* game) const;
    // The counts of the last result.
    std::string Summary() const;

    // Forgets the last result and restores the initial choices (for tests and at exit).
    void Reset();

private:
    std::unique_ptr<CCensusResult> last_;
    uint32_t gameSerial_ = 0;
    int32_t generation_ = 0;
    uint32_t libraryChanges_ = 0;
    int32_t libraryNumber_ = -1;  // the user library
    ECensusColumn sortColumn_ = ECensusColumn::Name;
    bool ascending_ = true;
};

CCensus& TheCensus();

// Sets the cumulative census count of every named pattern to 0.
void ZeroCounts();

}  // namespace tessera
