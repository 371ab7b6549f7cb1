#pragma once
// For the batch tool's tests: a tiny, independent Life stepper (a set of cells and a direct neighbour
// count), writers of the pattern file forms the tests feed to the tool, and a reader of the forms the
// tool writes. None of it uses the program's own code.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace life_reference {

using Cell = std::pair<int32_t, int32_t>;  // x, y
using Cells = std::set<Cell>;

// A Moore-neighbourhood rule: bit n of survive/born for n live neighbours.
struct Rule {
    uint32_t survive;
    uint32_t born;
};
inline constexpr Rule kConway{(1u << 2) | (1u << 3), 1u << 3};
inline constexpr Rule kHighLife{(1u << 2) | (1u << 3), (1u << 3) | (1u << 6)};

Cells Step(const Cells& cells, const Rule& rule);
Cells Grow(Cells cells, const Rule& rule, int generations);

// Cells of a width x height box at (left, top), each alive with the given percentage, from a fixed seed.
Cells RandomSoup(uint32_t seed, int32_t left, int32_t top, int32_t width, int32_t height, int percent);

struct Bounds {
    int32_t left, top, right, bottom;  // right and bottom exclusive
};
Bounds BoundsOf(const Cells& cells);  // cells must not be empty
// The cells moved so that their bounding box starts at (0, 0).
Cells Normalised(const Cells& cells);

// Input files as a person would write them.
// RLE carries no position: it reads back with its bounding box at (0, 0).
std::string ToRle(const Cells& cells, const std::string& ruleText);       // x = , y = , rule = ; !
std::string ToPictures(const Cells& cells, const std::string& ruleText);  // #r, #P left top, . and *
std::string ToLife106(const Cells& cells);                                // #Life 1.06 and x y lines
std::string ToGameFile(const Cells& cells, const std::string& ruleText);  // GAME ... ENDGAME

// The cells of a pattern as the tool writes it: XLife picture blocks, an RLE body (placed at (0, 0),
// since RLE carries no position), or a game file (the block of the given generation).
Cells ReadToolPattern(const std::string& text, int32_t generation = 0);

// The key=value pairs of the last line of the text.
std::map<std::string, std::string> SummaryOf(const std::string& out);
// The text before the last line.
std::string PatternPartOf(const std::string& out);

}  // namespace life_reference
