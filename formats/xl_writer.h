#pragma once
// Writing patterns in the XLife family: pictures ("#P" blocks of '*' and '.') for small patterns, RLE
// for large ones (parameters "XLifeObjectWidth", "XLifeObjectHeight", "XLifeWriteRLE").
#include <ostream>

namespace tessera {

class CUniverse;
class CGame;

void WriteXLifeUniverse(CUniverse& universe, std::ostream& out);

// The picture form whatever the size: a "#r" line, then picture blocks (one per object when the
// pattern is larger than the object size), cut into strips and bands of "LineLength" columns and
// "PageLength" rows.
void WriteXLifePictures(CUniverse& universe, std::ostream& out);

// The RLE form: header line with the size and rule, then the runs, lines kept within
// "XLifeRLELineLength" characters. A pattern wider or higher than the reader can place from column and row
// 0 (2147483646 cells) throws CErrorException (msg::RleTooLarge) before anything is written.
void WriteXLifeRle(CUniverse& universe, std::ostream& out);

}  // namespace tessera
