// Reading an XLife-family file: directives, the data-mode detection and the picture, RLE and
// coordinate data lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/parameters.h"
#include "engine/row_heap.h"
#include "formats/input_limit_exception.h"
#include "formats/rle_items.h"
#include "formats/xl_collection.h"
#include "foundation/messages.h"
#include "rules/rule_notation.h"
#include "rules/rule_text.h"
#include "rules/rules.h"
#include "text/lex.h"

namespace tessera {
namespace {

enum class EDataMode { Absolute = 0, Relative = 1, Rle = 2, Picture = 3, Undecided = 4 };

int64_t Advance(int64_t position, uint64_t by) { return AdvancePosition(position, by); }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllCharactersIn(std::string_view text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// An RLE header line: x = n, y = n [, rule = text]. The rule text is handed back, none when the header
// names no rule; whether the text is a rule the program can run is the caller's question, so that a
// header with a foreign rule is still a header and the pattern under it still loads.
bool ParseRleHeader(std::string_view text, std::optional<std::string>& ruleText) {
    try {
        CLex lex(text);
        int32_t number = 0;
        if (!lex.AcceptNameEqual("x") || !lex.AcceptChar('=') || !lex.ReadSignedNumber(number)) return false;
        if (!lex.AcceptChar(',') || !lex.AcceptNameEqual("y") || !lex.AcceptChar('=') ||
            !lex.ReadSignedNumber(number))
            return false;
        ruleText.reset();
        if (lex.Kind() == TokEndOfFile) return true;
        if (!lex.AcceptChar(',') || !lex.AcceptNameEqual("rule") || !lex.AcceptChar('=')) return false;
        ruleText = lex.Kind() == TokEndOfFile ? std::string() : std::string(lex.RestOfLine());
        return true;
    } catch (const CNumberRangeException&) {
        throw;  // a number too large is an error of the line, not a sign of another form
    } catch (const CSyntaxException&) {
        return false;
    }
}

// Line mode for the length of the read, restored however the read ends.
class CLineModeScope {
public:
    explicit CLineModeScope(CLex& lex) : lex_(lex), saved_(lex.SetLineMode(true)) {}
    ~CLineModeScope() { lex_.SetLineMode(saved_); }
    CLineModeScope(const CLineModeScope&) = delete;
    CLineModeScope& operator=(const CLineModeScope&) = delete;

private:
    CLex& lex_;
    bool saved_;
};

// Cells waiting to be merged into their block, in the order read, and the lines that set them (for a
// row too long): lines[k] = {first index, line}.
class CCellBatch {
public:
    std::vector<std::pair<size_t, int32_t>> lines;
    bool sorted = true;  // in ascending (y, x) order as read

    CLPoint* Cells() { return store_.get(); }
    size_t Size() const { return size_; }

    // Room for at least n cells after the batch, to be written and then kept with Commit.
    CLPoint* Room(size_t n) {
        if (capacity_ - size_ < n) Grow(std::max(size_ + n, 2 * capacity_));
        return store_.get() + size_;
    }
    void Commit(const CLPoint* end) { size_ = static_cast<size_t>(end - store_.get()); }

    // n cells from first rightwards; the caller has checked that the last of them lies in the plane.
    void AppendRun(CInputCell first, uint64_t n) {
        CLPoint* out = Room(n);
        for (uint64_t i = 0; i < n; ++i) out[i] = {first.x + static_cast<int32_t>(i), first.y};
        size_ += n;
    }

    // The cells from index from on, ascending among themselves, were read on the given line.
    void NoteAdded(size_t from, int32_t line) {
        if (from == size_) return;
        if (from > 0) {
            const CLPoint& last = store_.get()[from - 1];
            const CLPoint& first = store_.get()[from];
            if (first.y < last.y || (first.y == last.y && first.x < last.x)) sorted = false;
        }
        if (lines.empty() || lines.back().second != line) lines.push_back({from, line});
    }

    int32_t LineOf(size_t index) const {
        auto after =
            std::upper_bound(lines.begin(), lines.end(), index,
                             [](size_t i, const std::pair<size_t, int32_t>& m) { return i < m.first; });
        return std::prev(after)->second;
    }

    void Clear() {
        size_ = 0;
        lines.clear();
        sorted = true;
    }

private:
    // The room is neither initialised nor copied cell by cell when it grows: the cells are plain
    // values, and a large store can often grow where it lies.
    void Grow(size_t capacity) {
        if (capacity > SIZE_MAX / sizeof(CLPoint)) throw std::bad_alloc();
        void* grown = std::realloc(store_.get(), capacity * sizeof(CLPoint));
        if (!grown) throw std::bad_alloc();
        static_cast<void>(store_.release());
        store_.reset(static_cast<CLPoint*>(grown));
        capacity_ = capacity;
    }

    struct CFree {
        void operator()(CLPoint* cells) const { std::free(cells); }
    };
    std::unique_ptr<CLPoint, CFree> store_;  // the batch is its first size_ cells; the rest is room
    size_t size_ = 0;
    size_t capacity_ = 0;
};
// A cell of a batch with its line, for sorting a batch read out of order.
struct CBatchedCell {
    int32_t y;
    int32_t x;
    int32_t line;
};
constexpr size_t kBatchCells = size_t{1} << 20;
// The most cells RLE data adds in bulk before the batch is looked at again.
constexpr size_t kRleBulkCells = size_t{1} << 12;

class CXLReader {
public:
    CXLReader(CXLUniverseCollection& collection, CLex& lex) : collection_(collection), lex_(lex) {}

    void Read(std::string_view title) {
        title_ = title;
        fileLevel_ = collection_.CreateFileLevel(title);
        collection_.SetTopLevel(fileLevel_);
        current_ = fileLevel_;
        {
            CLineModeScope lineMode(lex_);
            while (lex_.Kind() != TokEndOfFile && lex_.Kind() != TokPastEnd) {
                if (lex_.Kind() != TokEndOfLine) ReadNumberedLine();
                const uint32_t exclamations = lex_.ExclamationLines();
                lex_.SkipLine();
                // A line that begins with the '!' ending RLE data never reaches the data handler.
                if (rleStarted_ && lex_.ExclamationLines() != exclamations) rleEnded_ = true;
            }
        }
        FlushAll();
        // A top level that holds nothing, not even insertions, is no pattern of the file.
        // Attribute lines outside every block then describe the file itself.
        CXLUniverse* topLevel = collection_.TopLevel();
        if (topLevel && topLevel->universe->Population() == 0 && topLevel->insertions.IsEmpty()) {
            if (topLevel == fileLevel_) fileLevel_->attributes.MoveAllTo(collection_.FileAttributes());
            collection_.Remove(topLevel);
        }
        if (fileLevel_ == topLevel && !collection_.TopLevel()) return;
        if (fileLevel_->universe->Population() == 0 && fileLevel_->insertions.IsEmpty()) {
            fileLevel_->attributes.MoveAllTo(collection_.FileAttributes());
            collection_.Remove(fileLevel_);
        } else {
            collection_.NameFileLevel(fileLevel_, title_);
        }
    }

private:
    // Numbers of a line are read by lexers of their own; a number too large is reported at this line.
    void ReadNumberedLine() {
        try {
            ReadLine();
        } catch (const CNumberRangeException&) {
            throw CNumberRangeException(lex_.LineNumber());
        }
    }

    void ReadLine() {
        while (lex_.Kind() == TokBracketed) {
            std::string name;
            lex_.ReadName(name, true);
            current_ = collection_.FindOrCreate(CName(name));
            StartNewData();
        }
        if (lex_.Kind() == TokEndOfLine || lex_.Kind() == TokEndOfFile) return;
        if (lex_.TokenBeginsWith('#')) {
            Directive();
        } else {
            // The line stays the lexer's current one while its data is read: no copy is needed.
            const std::string_view text = lex_.RestOfLine();
            WithInputLimits(lex_.LineNumber(), [&] { DataLine(text); });
        }
    }

    // The text of the line after the directive word.
    std::string RestAfterDirective() {
        lex_.NextToken();
        if (lex_.Kind() == TokEndOfLine) return {};
        return std::string(lex_.RestOfLine());
    }

    void Directive() {
        const std::string word = lex_.TokenText();
        // A stray "#" line between lines of RLE data is a comment; the data goes on after it.
        if (word == "#" && mode_ == EDataMode::Rle) return;
        if (word.size() >= 2 && word[1] == '#') {
            if (NamesMatch(word, kAttributeMarker)) AttributeLine();
            return;
        }
        switch (word.size() >= 2 ? word[1] : '\0') {
            case 'A':
                mode_ = EDataMode::Absolute;
                StartNewData();
                break;
            case 'B':
                current_ = collection_.FindOrCreate(CName(std::string(TrimBlanks(RestAfterDirective()))));
                StartNewData();
                break;
            case 'C':
                AppendDescription(DescriptionText());
                break;
            case 'D':
                DescriptionOrRelative();
                break;
            case 'E':
                if (current_ == collection_.TopLevel())
                    collection_.AddError(msg::XLEndOutsideBlock, &lex_, 0);
                current_ = collection_.TopLevel();
                StartNewData();
                break;
            case 'I':
                Insertion(RestAfterDirective());
                break;
            case 'L':
                break;
            case 'M':
                mode_ = EDataMode::Rle;
                column_ = originX_;
                StartNewData();
                break;
            case 'N':
                NewTopLevel();
                break;
            case 'O':
                current_->originator = RestAfterDirective();
                break;
            case 'P': {
                const std::string rest = RestAfterDirective();
                ReadOrigin(rest);
                mode_ = EDataMode::Picture;
                StartNewData();
                break;
            }
            case 'R':
                RelativeOrRule();
                break;
            case 'r':
                Rule(RestAfterDirective());
                break;
            default:
                collection_.AddError(msg::XLUnknownCommand, &lex_, 0);
                break;
        }
    }

    void AttributeLine() {
        const int32_t line = lex_.LineNumber();
        lex_.NextToken();
        std::string name, value;
        if (lex_.ReadNameValue(name, value, true))
            current_->attributes.PushBack(new CAttributeValue(std::move(name), std::move(value), line));
    }

    // The text of a "#C" or "#D" line after its two characters and the one blank the writer puts
    // there, so that a description survives being written and read again unchanged.
    std::string DescriptionText() {
        std::string_view text = lex_.RestOfLine().substr(2);
        if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        return std::string(text);
    }

    void AppendDescription(const std::string& text) {
        if (!current_->description.empty()) current_->description += "\r\n";
        current_->description += text;
    }

    void DescriptionOrRelative() {
        const std::string text = DescriptionText();
        if (!descriptionSeen_) {
            if (TrimBlanks(text).empty()) {
                // Between lines of RLE data an empty "#D" is an empty comment, not a change of mode.
                if (mode_ != EDataMode::Rle) mode_ = EDataMode::Relative;
                return;
            }
            collection_.AddWarning(msg::XLDescriptionDirective, lex_);
            descriptionSeen_ = true;
        }
        AppendDescription(text);
    }

    void NewTopLevel() {
        const std::string name(TrimBlanks(RestAfterDirective()));
        if (name.empty()) return;
        if (current_ != collection_.TopLevel()) collection_.AddError(msg::XLNameInsideBlock, &lex_, 0);
        CXLUniverse* top = collection_.TopLevel();
        // A file that names its only pattern like itself keeps one pattern.
        if (top && top == fileLevel_ && CName(title_) == CName(name) && collection_.UniverseCount() == 1)
            return;
        CXLUniverse* created = collection_.CreateWithFreeName(CName(name));
        if (!created) created = collection_.Find(CName(name));  // every numbered name is taken
        collection_.SetTopLevel(created);
        current_ = created;
        StartNewData();
    }

    void ReadOrigin(const std::string& rest) {
        CLex numbers(rest);
        int32_t value = 0;
        if (numbers.ReadSignedNumber(value)) originX_ = value;
        if (numbers.ReadSignedNumber(value)) originY_ = value;
    }

    // "#R" with a slash or a letter after it is a rule (Life 1.05), with numbers or nothing a relative
    // origin (XLife).
    void RelativeOrRule() {
        const std::string rest = RestAfterDirective();
        const std::string_view given = TrimBlanks(rest);
        const bool inLetters = !given.empty() && IsLetter(given.front());
        if (rest.find('/') != std::string::npos || inLetters || ruleLikeSeen_) {
            if (!ruleLikeSeen_) {
                collection_.AddWarning(msg::XLRuleDirective, lex_);
                ruleLikeSeen_ = true;
            }
            Rule(rest);
            return;
        }
        ReadOrigin(rest);
        mode_ = EDataMode::Relative;
        StartNewData();
    }

    // A rule the program cannot run is never taken as another one: the block keeps its rule, and the
    // report names the line and the rule text.
    void Rule(std::string_view text) {
        const CRuleTextReading reading = ReadRuleText(text);
        if (reading.IsRule()) {
            current_->universe->SetRuleCode(reading.code);
            current_->refusedRule.clear();
            return;
        }
        current_->refusedRule = std::string(TrimBlanks(text));
        collection_.AddError(msg::XLRuleNotUsed, &lex_, 0, "\"" + current_->refusedRule + "\"",
                             MessageText(RuleProblemMessage(reading.problem)));
    }

    // Data after a structural directive is a new piece of the file: an RLE pattern ended by "!" there
    // before does not swallow it.
    void StartNewData() {
        rleEnded_ = false;
        rleStarted_ = false;
        rleCount_ = 0;
    }

    void Insertion(const std::string& text) {
        auto insertion = std::make_unique<CXLInsertion>();
        insertion->lineNumber = lex_.LineNumber();
        std::string_view rest = text;
        if (const size_t colon = rest.find(':'); colon != std::string_view::npos) {
            insertion->libraryName = ToUpper(TrimBlanks(rest.substr(0, colon)));
            rest.remove_prefix(colon);
        }
        CLex items(rest);
        items.AcceptChar(':');
        if (!items.ReadName(insertion->patternName)) return;
        int32_t numbers[6] = {0, 0, 0, 0, 0, 0};
        int count = 0;
        while (count < 6 && items.ReadSignedNumber(numbers[count])) ++count;
        if (count >= 2) {
            insertion->x = numbers[0];
            insertion->y = numbers[1];
        }
        if (count >= 3 && numbers[2] % 4 >= 0) {
            static constexpr int kFlipped[4] = {5, 6, 7, 4};
            const int rotation = numbers[2] % 4;
            const bool flipped = count >= 4 && numbers[3] == -1;
            insertion->transform = flipped ? kFlipped[rotation] : rotation;
        }
        if (count >= 5) insertion->delay = numbers[4];
        if (count >= 6) insertion->extra = numbers[5];
        current_->insertions.PushBack(insertion.release());
    }

    void DataLine(std::string_view text) {
        if (rleEnded_) return;  // notes, a second pattern or junk after the "!" that ended the RLE data
        if (mode_ == EDataMode::Undecided) mode_ = DetectMode(text);
        switch (mode_) {
            case EDataMode::Picture:
                PictureRow(text);
                break;
            case EDataMode::Rle:
                RleLine(text);
                break;
            case EDataMode::Absolute:
            case EDataMode::Relative:
                CoordinateLine(text);
                break;
            case EDataMode::Undecided:
                collection_.AddWarning(msg::XLUnrecognisedLine, lex_);
                break;
        }
    }

    static EDataMode DetectMode(std::string_view text) {
        if (AllCharactersIn(text, " .oxOX$*")) return EDataMode::Picture;
        if (AllCharactersIn(text, " -1234567890,")) return EDataMode::Absolute;
        if (AllCharactersIn(text, " bo$!1234567890")) return EDataMode::Rle;
        std::optional<std::string> ruleText;
        if (text.find('=') != std::string_view::npos && ParseRleHeader(text, ruleText)) return EDataMode::Rle;
        return EDataMode::Undecided;
    }

    void SetCell(int64_t x, int64_t y) { SetRun(x, y, 1); }

    // Cells are collected per block and merged into its rows in bulk; one by one, each would cost a
    // search of the block's pending edits. A run of n cells from (x, y) rightwards.
    void SetRun(int64_t x, int64_t y, uint64_t n) {
        const int32_t line = lex_.LineNumber();
        const CInputCell first = CheckedInputCell(x, y, line);
        if (n > 1) CheckedInputCell(x + static_cast<int64_t>(n) - 1, y, line);
        CCellBatch& batch = BatchOf(current_);
        const size_t from = batch.Size();
        batch.AppendRun(first, n);
        batch.NoteAdded(from, line);
        FlushIfLarge(batch);
    }

    CCellBatch& BatchOf(CXLUniverse* universe) {
        if (batchOwner_ != universe) {
            batchOwner_ = universe;
            batch_ = &batches_[universe];
        }
        return *batch_;
    }

    // Flushing when the batch has outgrown the rows keeps the merging linear overall. True when flushed.
    bool FlushIfLarge(CCellBatch& batch) {
        if (batch.Size() < kBatchCells || batch.Size() < current_->universe->Population()) return false;
        Flush(*current_, batch);
        return true;
    }

    void FlushAll() {
        for (auto& [universe, batch] : batches_) Flush(*universe, batch);
    }

    static void Flush(CXLUniverse& target, CCellBatch& batch) {
        if (batch.Size() == 0) return;
        CLPoint* cells = batch.Cells();
        const size_t size = batch.Size();
        std::vector<CBatchedCell> withLines;  // only for a batch read out of order
        if (!batch.sorted) {
            withLines.resize(size);
            for (size_t i = 0; i < size; ++i) withLines[i] = {cells[i].y, cells[i].x, batch.LineOf(i)};
            // Stable, so that of repeated cells the one read first comes first.
            std::stable_sort(withLines.begin(), withLines.end(),
                             [](const CBatchedCell& a, const CBatchedCell& b) {
                                 return a.y != b.y ? a.y < b.y : a.x < b.x;
                             });
            for (size_t i = 0; i < size; ++i) cells[i] = {withLines[i].x, withLines[i].y};
        }
        try {
            target.universe->AddSortedCells(cells, size);
        } catch (const CErrorException& error) {
            if (error.MessageId() != msg::RowTooLong) throw;
            auto lineOf = [&](size_t i) { return batch.sorted ? batch.LineOf(i) : withLines[i].line; };
            throw CInputLimitException(msg::InputRowTooLong,
                                       OverflowLine(*target.universe, cells, size, lineOf));
        }
        batch.Clear();
    }

    // The line on which a row of the batch grew beyond a row's room: the cells of the row that are new,
    // in the order of their lines, counted on from those the row already holds.
    template <class LineOf>
    static int32_t OverflowLine(CGrowableUniverse& universe, const CLPoint* sorted, size_t size,
                                LineOf lineOf) {
        for (size_t begin = 0; begin < size;) {
            const int32_t y = sorted[begin].y;
            size_t end = begin;
            std::vector<int32_t> lines;
            for (; end < size && sorted[end].y == y; ++end) {
                const bool repeat = end > begin && sorted[end - 1].x == sorted[end].x;
                if (!repeat && !universe.IsAlive(sorted[end].x, y)) lines.push_back(lineOf(end));
            }
            uint64_t held = 0;
            ExplorePtr row = RequireExploration(
                universe.ExploreArea({UniverseLimits.left, UniverseLimits.right, y, y + 1}));
            while (row->Next()) ++held;
            if (held + lines.size() > kMaxRowCells) {
                std::sort(lines.begin(), lines.end());
                return lines[kMaxRowCells - held];
            }
            begin = end;
        }
        return 0;
    }

    void PictureRow(std::string_view text) {
        int64_t column = originX_;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '*') {
                SetCell(column, originY_);
            } else if (c == '$') {
                column = Advance(column, 10);
                continue;
            } else if (c == 'O' || c == 'o' || c == 'X' || c == 'x') {
                if (!lettersAreCells_ && OnlyLetterIs(text.substr(i), c)) {
                    collection_.AddWarning(msg::XLLettersAsCells, lex_);
                    lettersAreCells_ = true;
                }
                if (lettersAreCells_) SetCell(column, originY_);
            }
            column = Advance(column, 1);
        }
        originY_ = Advance(originY_, 1);
    }

    static bool OnlyLetterIs(std::string_view text, char letter) {
        return std::all_of(text.begin(), text.end(),
                           [letter](char c) { return !IsLetter(c) || c == letter; });
    }

    // The count is kept from one line to the next: writers that wrap at a fixed column split a count
    // from its tag. Blanks may stand between any two items.
    void RleLine(std::string_view text) {
        std::optional<std::string> ruleText;
        if (text.find('=') != std::string_view::npos && ParseRleHeader(text, ruleText)) {
            if (ruleText) {
                Rule(*ruleText);
            } else {
                current_->universe->SetRuleCode(DefaultRuleCode());
                current_->refusedRule.clear();
            }
            return;
        }
        rleStarted_ = true;
        const int32_t line = lex_.LineNumber();
        CCellBatch& batch = BatchOf(current_);
        CRlePosition at{rleCount_, column_, originY_};
        bool reported = false;
        for (size_t i = 0; i < text.size(); ++i) {
            // The plain items in bulk, then what they stopped at, if anything, one character at a time.
            // The bulk is bounded so that the batch is flushed in time however long the line is.
            const size_t from = batch.Size();
            CLPoint* out = batch.Room(kRleBulkCells);
            i = DecodePlainRleItems(text, i, at, out, out + kRleBulkCells);
            batch.Commit(out);
            batch.NoteAdded(from, line);
            FlushIfLarge(batch);
            if (i == text.size()) break;
            const char c = text[i];
            if (IsDigit(c)) {
                at.count = std::min(at.count * 10 + static_cast<uint64_t>(c - '0'), kFarCount);
                continue;
            }
            if (c == ' ' || c == '\t') continue;
            const uint64_t n = std::max<uint64_t>(at.count, 1);
            at.count = 0;
            if (c == 'o' || c == 'x') {
                CheckRunLength(n, line);
                const CInputCell first = CheckedInputCell(at.column, at.row, line);
                if (n > 1) CheckedInputCell(at.column + static_cast<int64_t>(n) - 1, at.row, line);
                const size_t runFrom = batch.Size();
                batch.AppendRun(first, n);
                batch.NoteAdded(runFrom, line);
                FlushIfLarge(batch);
                at.column = Advance(at.column, n);
            } else if (c == '$') {
                at.column = originX_;
                at.row = Advance(at.row, n);
            } else if (c == '!') {
                rleEnded_ = true;
                break;
            } else if (IsLetter(c)) {
                at.column = Advance(at.column, n);
            } else if (!reported) {
                collection_.AddWarning(msg::XLUnexpectedRleCharacter, lex_);
                reported = true;
            }
        }
        rleCount_ = at.count;
        column_ = at.column;
        originY_ = at.row;
    }

    void CoordinateLine(std::string_view text) {
        CLex numbers(text);
        int32_t x = 0, y = 0;
        if (!numbers.ReadSignedNumber(x) || !numbers.ReadSignedNumber(y)) return;
        if (mode_ == EDataMode::Absolute) {
            SetCell(x, y);
            return;
        }
        const int64_t cellX = originX_ + x, cellY = originY_ + y;
        SetCell(cellX, cellY);
        originX_ = cellX;
        originY_ = cellY;
    }

    CXLUniverseCollection& collection_;
    CLex& lex_;
    CXLUniverse* current_ = nullptr;
    CXLUniverse* fileLevel_ = nullptr;  // the data outside named blocks, named after the file at the end
    std::string title_;
    int64_t originX_ = 0;
    int64_t originY_ = 0;
    int64_t column_ = 0;
    EDataMode mode_ = EDataMode::Undecided;
    bool ruleLikeSeen_ = false;
    bool descriptionSeen_ = false;
    bool lettersAreCells_ = false;
    std::unordered_map<CXLUniverse*, CCellBatch> batches_;
    CXLUniverse* batchOwner_ = nullptr;
    CCellBatch* batch_ = nullptr;
    uint64_t rleCount_ = 0;    // the RLE count read so far, waiting for its tag
    bool rleStarted_ = false;  // RLE data has been read since the last structural directive
    bool rleEnded_ = false;    // a "!" has ended the RLE data
};

}  // namespace

void CXLUniverseCollection::Read(CLex& lex, std::string_view title) { CXLReader(*this, lex).Read(title); }

}  // namespace tessera
