#pragma once
// Descriptions in files: one text with line breaks, written as prefixed lines ("#C" in XLife files,
// "D" in game files) of limited length.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

// The lines of text as written: split at every run of carriage returns and line feeds, empty lines
// dropped, and a line longer than lineLength cut at its last blank at or before index lineLength (the
// rest keeps the blank), or at lineLength itself when there is no blank after index 0.
std::vector<std::string> DescriptionLines(std::string_view text, size_t lineLength);

// Writes each description line as prefix, a blank, the line and a newline.
void WriteDescription(std::ostream& out, std::string_view prefix, std::string_view text, size_t lineLength);

}  // namespace tessera
