#include "foundation/messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessera {
namespace {

// Kept sorted by number.
constexpr std::pair<int, std::string_view> kMessages[] = {
    {1013, "Error reading file"},
    {1015, "You cannot modify this generation. Press F1 for help."},
    {1016, "The game has become too big and cannot be grown any further."},
    {1017, "The game has reached the maximum age and cannot be grown any further."},
    {1018, "There is nothing to grow."},
    {1019, "There is not enough memory to perform the requested operation. Press F1 for help."},
    {1020, "There are not enough system resources to perform the requested\noperation. Press F1 for help."},
    {1021, "An unexpected error has occurred. Press F1 for help."},
    {1038, "Generation %1 is the same as generation %2."},
    {1039, "Generation %1 is very similar to generation %2."},
    {1069, "Generation %1 is the same as generation %2, except for movement"},
    {1070, "The game is not interesting after generation %1"},
    {1106, "Halcyon universe is too big"},
    {1107, "Halcyon file has incorrect format"},
    {1200, "A row of the universe cannot hold that many cells."},
    {1201, "Too many explorations of universes are in use at once."},
    {1202, "The cell lies outside the limits of the universe."},
};

}  // namespace

std::string_view MessageText(int messageId) {
    auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), messageId,
                               [](const auto& entry, int id) { return entry.first < id; });
    if (it == std::end(kMessages) || it->first != messageId) return {};
    return it->second;
}

std::string FormatText(std::string_view text, std::string_view arg1, std::string_view arg2) {
    std::string out;
    out.reserve(text.size() + arg1.size() + arg2.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '1') { out += arg1; ++i; continue; }
            if (next == '2') { out += arg2; ++i; continue; }
            if (next == '%') { out += '%'; ++i; continue; }
        }
        out += text[i];
    }
    return out;
}

std::string FormatMessage(int messageId, std::string_view arg1, std::string_view arg2) {
    return FormatText(MessageText(messageId), arg1, arg2);
}

}  // namespace tessera
