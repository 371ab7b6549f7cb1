#pragma once
// The string table: the texts the program shows, by message number.
#include <string>
#include <string_view>

namespace tessera {

// The text of a message, or an empty view for a number the table does not hold.
std::string_view MessageText(int messageId);

// The text with %1 and %2 replaced by the arguments ("%%" stands for one "%").
std::string FormatMessage(int messageId, std::string_view arg1 = {}, std::string_view arg2 = {});
std::string FormatText(std::string_view text, std::string_view arg1 = {}, std::string_view arg2 = {});

}  // namespace tessera
