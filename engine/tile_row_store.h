#pragma once
// Storing a freshly computed tile over the buffer it replaces, with what the step needs to know of it:
// which rows changed, which hold a live cell, the columns that changed, and the change in live cells.
// Built with wide vector instructions where the processor has them, one row at a time otherwise.
#include <cstdint>

namespace tessera {

struct CStoredRows {
    uint32_t changed = 0;   // bit r: row r differs from what the buffer held
    uint32_t occupied = 0;  // bit r: row r holds a live cell
    uint64_t changedColumns = 0;
    int32_t populationChange = 0;
};

// Copies rows first to end - 1 of `next` over those of `out`; first and end are multiples of 4.
CStoredRows StoreTileRows(const uint64_t* next, uint64_t* out, int first, int end);
// The same one row at a time, as on a processor without the wide instructions.
CStoredRows StoreTileRowsOneByOne(const uint64_t* next, uint64_t* out, int first, int end);

}  // namespace tessera
