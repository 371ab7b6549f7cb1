#include "formats/description_lines.h"

namespace tessera {

std::vector<std::string> DescriptionLines(std::string_view text, size_t lineLength) {
    std::vector<std::string> out;
    if (lineLength == 0) lineLength = 1;
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end);
        const size_t next = text.find_first_not_of("\r\n");
        text = next == std::string_view::npos ? std::string_view() : text.substr(next);
        while (line.size() > lineLength) {
            size_t cut = line.rfind(' ', lineLength);
            if (cut == std::string_view::npos || cut == 0) cut = lineLength;
            out.emplace_back(line.substr(0, cut));
            line.remove_prefix(cut);
        }
        if (!line.empty()) out.emplace_back(line);
    }
    return out;
}

void WriteDescription(std::ostream& out, std::string_view prefix, std::string_view text, size_t lineLength) {
    for (const std::string& line : DescriptionLines(text, lineLength)) out << prefix << ' ' << line << '\n';
}

}  // namespace tessera
