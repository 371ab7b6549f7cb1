#pragma once
// The attribute table of games: the population records, read from attribute lines of pattern files and
// never written as attribute lines (the game file has its own header for them).
#include <span>

#include "text/lex_attribute.h"
#include "games/game.h"

namespace tessera {

template <>
std::span<const CLexAttribute<CGame>* const> AttributeTableOf<CGame>();

}  // namespace tessera
