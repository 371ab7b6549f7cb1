#pragma once
// Reading one line of text with a bound on its length, so that an input without line ends (a device
// that never ends, a binary file) cannot take all memory: past the bound the read ends with the memory
// message.
#include <cstddef>
#include <istream>
#include <string>

namespace tessera {

// The longest line a reader holds: the configured memory of the block heap plus a fixed allowance, so
// that a pattern that fits in memory fits on one line too.
size_t MaxLineLength();

// As std::getline with '\n', the stream's state set the same way; throws CMemoryException when the
// line would be longer than maxLength characters.
std::istream& ReadBoundedLine(std::istream& in, std::string& line, size_t maxLength);

}  // namespace tessera
