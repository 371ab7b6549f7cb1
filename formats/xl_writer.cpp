#include "formats/xl_writer.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "engine/split_objects.h"
#include "foundation/errors.h"
#include "foundation/messages.h"
#include "rules/rule_notation.h"

namespace tessera {
namespace {

int64_t Width(const CLRect& box) { return int64_t{box.right} - box.left; }
int64_t Height(const CLRect& box) { return int64_t{box.bottom} - box.top; }

bool FitsObjectSize(const CLRect& box) {
    return Width(box) <= params::XLifeObjectWidth.GetInt() &&
           Height(box) <= params::XLifeObjectHeight.GetInt();
}

void WritePictureForm(CUniverse& universe, RuleCode rule, std::ostream& out);

// The cells of universe inside area, as a universe of their own. The area is applied here: a hashed
// universe's area exploration yields every cell.
std::unique_ptr<CGrowableUniverse> CellsInside(CUniverse& universe, const CLRect& area) {
    auto part = std::make_unique<CGrowableUniverse>();
    ExplorePtr cells = RequireExploration(universe.ExploreAll());
    while (cells->Next())
        if (area.Contains(cells->Current())) part->SetCell(cells->Current().x, cells->Current().y);
    return part;
}

// Strips and bands are written again by the picture form: each has its own "#r" line and is cut
// further when it needs to be.
void WritePieces(CUniverse& universe, RuleCode rule, const CLRect& box, bool strips, int64_t step,
                 std::ostream& out) {
    const int64_t begin = strips ? box.left : box.top;
    const int64_t end = strips ? box.right : box.bottom;
    for (int64_t from = begin; from < end; from += step) {
        CLRect area = box;
        const int64_t to = std::min(from + step, end);
        if (strips) {
            area.left = static_cast<int32_t>(from);
            area.right = static_cast<int32_t>(to);
        } else {
            area.top = static_cast<int32_t>(from);
            area.bottom = static_cast<int32_t>(to);
        }
        auto piece = CellsInside(universe, area);
        if (piece->Population() > 0) WritePictureForm(*piece, rule, out);
    }
}

void WritePictureBlock(CUniverse& universe, RuleCode rule, const CLRect& box, std::ostream& out) {
    const int64_t lineLength = params::LineLength.GetUInt();
    const int64_t pageLength = params::PageLength.GetUInt();
    if (Width(box) > lineLength) return WritePieces(universe, rule, box, true, lineLength, out);
    if (Height(box) > pageLength) return WritePieces(universe, rule, box, false, pageLength, out);
    std::vector<std::string> rows(static_cast<size_t>(Height(box)),
                                  std::string(static_cast<size_t>(Width(box)), '.'));
    ExplorePtr cells = RequireExploration(universe.ExploreSorted());
    while (cells->Next()) {
        const CLPoint p = cells->Current();
        if (box.Contains(p))
            rows[static_cast<size_t>(p.y - box.top)][static_cast<size_t>(p.x - box.left)] = '*';
    }
    out << "#P " << box.left << ' ' << box.top << '\n';
    for (const std::string& row : rows) out << row << '\n';
}

void WritePictureForm(CUniverse& universe, RuleCode rule, std::ostream& out) {
    out << "#r " << FormatRule(rule) << '\n';
    if (universe.Population() == 0) return;  // an empty box has no picture
    const CLRect box = universe.GetBounds();
    if (FitsObjectSize(box)) return WritePictureBlock(universe, rule, box, out);
    SplitIntoObjects(universe,
                     [&](CUniverse& object) { WritePictureBlock(object, rule, object.GetBounds(), out); });
}

// RLE items, each its count (when above 1) and its letter; a line is ended before an item once it is
// longer than the line limit.
class CRleLine {
public:
    CRleLine(std::ostream& out, size_t limit) : out_(out), limit_(limit) {}

    void Item(int64_t count, char letter) {
        if (count <= 0) return;
        BreakIfLong();
        if (count > 1) line_ += std::to_string(count);
        line_ += letter;
    }
    void Finish() {
        BreakIfLong();
        out_ << line_ << "!\n";
    }

private:
    void BreakIfLong() {
        if (line_.size() <= limit_) return;
        out_ << line_ << '\n';
        line_.clear();
    }

    std::ostream& out_;
    size_t limit_;
    std::string line_;
};

}  // namespace

void WriteXLifePictures(CUniverse& universe, std::ostream& out) {
    WritePictureForm(universe, universe.GetRuleCode(), out);
}

void WriteXLifeRle(CUniverse& universe, std::ostream& out) {
    const CLRect box = universe.Population() > 0 ? universe.GetBounds() : CLRect{0, 0, 0, 0};
    // The reader places the pattern from column and row 0: a larger one could not be read back.
    if (Width(box) > UniverseLimits.right || Height(box) > UniverseLimits.bottom)
        throw CErrorException(msg::RleTooLarge);
    out << "x = " << Width(box) << ", y = " << Height(box)
        << ", rule = " << FormatRule(universe.GetRuleCode()) << '\n';
    const int lineLimit = params::XLifeRLELineLength.GetInt() - 10;
    CRleLine line(out, static_cast<size_t>(std::max(lineLimit, 0)));
    ExplorePtr cells = RequireExploration(universe.ExploreSorted());
    int64_t rowY = box.top;
    int64_t runStart = 0, runEnd = 0;  // the run being collected, [runStart, runEnd)
    int64_t rowX = box.left;           // where the gap before the next run starts
    bool inRun = false;
    auto endRun = [&] {
        if (!inRun) return;
        line.Item(runStart - rowX, 'b');
        line.Item(runEnd - runStart, 'o');
        rowX = runEnd;
        inRun = false;
    };
    while (cells->Next()) {
        const CLPoint p = cells->Current();
        if (p.y != rowY || !inRun || p.x != runEnd) {
            endRun();
            if (p.y != rowY) {
                line.Item(p.y - rowY, '$');
                rowY = p.y;
                rowX = box.left;
            }
            runStart = p.x;
            runEnd = p.x;
            inRun = true;
        }
        ++runEnd;
    }
    endRun();
    line.Finish();
}

void WriteXLifeUniverse(CUniverse& universe, std::ostream& out) {
    const bool large = universe.Population() > 0 && !FitsObjectSize(universe.GetBounds());
    if (large && params::XLifeWriteRLE.GetInt() == 1) return WriteXLifeRle(universe, out);
    WriteXLifePictures(universe, out);
}

}  // namespace tessera
