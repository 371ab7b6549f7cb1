#pragma once
// Message numbers of the engine's own refusals (texts in the string table).

namespace tessera::msg {
inline constexpr int RowTooLong = 1200;           // an edit would make a row longer than a row can hold
inline constexpr int TooManyExplorations = 1201;  // every exploration slot is in use
inline constexpr int CellOutsideUniverse = 1202;  // a cell beyond the limits of the universe
}  // namespace tessera::msg
