#pragma once
// Writers of the pattern file forms the tests feed to the tool, and a reader
// of the forms the tool writes. None of it uses the program's own code.
#include <cstdint>
#include <map>
#include <string>

#include "support/reference_life.h"

namespace tessera::test {

// 23/36: the counted neighbours of Conway's Life, birth on 3 or 6.
inline constexpr RuleCode kHighLifeRuleCode = kConwayRuleCode | (1u << 15);

// Cells of a width x height box at (left, top), each alive with the given percentage, from a fixed seed.
Cells SeededSoup(uint32_t seed, int32_t left, int32_t top, int32_t width, int32_t height, int percent);

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

}  // namespace tessera::test
