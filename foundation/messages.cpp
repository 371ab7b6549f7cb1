#include "foundation/messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tessera {
namespace {

// Kept sorted by number.
constexpr std::pair<int, std::string_view> kMessages[] = {
    {1008, "That is not a valid name.\n(Names must begin with a letter or digit, and can contain in addition\nonly space and any of \"-,#$\")"},
    {1013, "Error reading file"},
    {1015, "You cannot modify this generation. Press F1 for help."},
    {1016, "The game has become too big and cannot be grown any further."},
    {1017, "The game has reached the maximum age and cannot be grown any further."},
    {1018, "There is nothing to grow."},
    {1019, "There is not enough memory to perform the requested operation. Press F1 for help."},
    {1020, "There are not enough system resources to perform the requested\noperation. Press F1 for help."},
    {1021, "An unexpected error has occurred. Press F1 for help."},
    {1023, "Life Library Files (*.lfl) |*.lfl|Life Game Files(*.lif) |*.lif|All Files (*.*) |*.*||"},
    {1025, "Unload library \"%1\"?"},
    {1036, "Name Already Being Used"},
    {1038, "Generation %1 is the same as generation %2."},
    {1039, "Generation %1 is very similar to generation %2."},
    {1040, "Couldn't load system library file \"%1\"."},
    {1041, "Couldn't load user library file \"%1\""},
    {1044, "There is a mistake in one of the property fields."},
    {1045, "Delete pattern %1 from %2?"},
    {1046, "library"},
    {1047, "There is already a pattern called \"%1\" in the %2."},
    {1048, "Save changes to %1?"},
    {1049, "Can't open file %1 to save %2."},
    {1050, "Syntax error at line %1 in library file \"%2\""},
    {1058, "Pattern library %1 is already loaded"},
    {1063, "Total Census"},
    {1066, "New Pattern Name"},
    {1069, "Generation %1 is the same as generation %2, except for movement"},
    {1070, "The game is not interesting after generation %1"},
    {1071, "Counting objects: %2%%"},
    {1088, "Loading patterns: reading file \"%1\""},
    {1089, "Loading patterns from %1: processing pattern \"%%1\""},
    {1092, "clipboard"},
    {1094, "Loading pattern \"%1\""},
    {1106, "Halcyon universe is too big"},
    {1107, "Halcyon file has incorrect format"},
    {1108, "Unloading pattern \"%1\""},
    {1111, "system"},
    {1112, "user"},
    {1200, "A row of the universe cannot hold that many cells."},
    {1201, "Too many explorations of universes are in use at once."},
    {1202, "The cell lies outside the limits of the universe."},
    {1210, "Computing generation %1"},
    {1211, "Currently at generation %1"},
    {1212, "Cancelled"},
    {1300, "#D looks like description, treated as such for rest of file"},
    {1301, "#R looks like a rule, treated as #r for rest of file"},
    {1302, "Unknown command"},
    {1303, "O or X looks like a point, not text, treated as such for rest of file"},
    {1304, "Unexpected character in RLE input line"},
    {1305, "#E found while not inside pattern block"},
    {1306, "Error in rule"},
    {1307, "Insertion %1 not found in library file"},
    {1308, "Library file not loaded for insertion %1"},
    {1309, "Insertion %1 not in this file"},
    {1310, "Unknown or incorrect attribute %1"},
    {1311, "File contains more than %1 errors, further errors not recorded"},
    {1312, "File contains circular insertions"},
    {1313, "This line doesn't look like any XLife format, treated as commentary and ignored"},
    {1314, "#N found while processing #B named block"},
    {1315, "File %1 contains the following errors:"},
    {1316, "Rule %1 cannot be used: %2; the rule is left as it was"},
    {1320, "Syntax or other error in input file at line %1"},
    {1321, "A row of the pattern would hold more cells than a row can hold, at line %1 of the input file"},
    {1322, "A cell of the pattern lies outside the universe, at line %1 of the input file"},
    {1323, "Life Game Files (*.lif, *.rle, *.hcf) |*.lif;*.rle;*.hcf|All files (*.*)|*.*||"},
    {1330, "The file %1 could not be opened: %2"},
    {1331, "The file %1 could not be written: %2"},
    {1332,
     "The pattern is too large to be written in RLE form: its width and height must each be at "
     "most 2147483646 cells."},
    {1340, "it is not a rule"},
    {1341, "no rule of that name is known"},
    {1342, "its births and survivals depend on where the neighbours stand"},
    {1343, "it is a rule of more than two cell states"},
    {1344, "it asks for a bounded or wrapped plane"},
    {1345, "it has births on 0 neighbours"},
    {1400, "Creating broth: %2%%"},
    {1401, "Density must be a percentage in the range 0 - 100."},
    {1402, "Do you want to leave the pattern on the clipboard?"},
    {1403, "The bitmap on the clipboard has more bits set than clear. Do you want to invert it?"},
    {1404,
     "The pattern is not offered as text on the clipboard: its text of %1 characters is longer "
     "than MaxClipboardBuffer allows (%2)."},
    {2056, "Too many libraries already loaded, can't load or create any more"},
    {2110, "Error writing census to \"%1\""},
    {2111, "Census of %1 at generation %2"},
    {2112, "Game contains %1 objects including %2 new,\nand %3 unclassifiable bits"},
};

}  // namespace

std::string_view MessageText(int messageId) {
    auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), messageId,
                               [](const auto& entry, int id) { return entry.first < id; });
    if (it == std::end(kMessages) || it->first != messageId) return {};
    return it->second;
}

std::string FormatText(std::string_view text, std::string_view arg1, std::string_view arg2,
                       std::string_view arg3) {
    std::string out;
    out.reserve(text.size() + arg1.size() + arg2.size() + arg3.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '1') {
                out += arg1;
                ++i;
                continue;
            }
            if (next == '2') {
                out += arg2;
                ++i;
                continue;
            }
            if (next == '3') {
                out += arg3;
                ++i;
                continue;
            }
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string FormatMessage(int messageId, std::string_view arg1, std::string_view arg2, std::string_view arg3) {
    return FormatText(MessageText(messageId), arg1, arg2, arg3);
}

}  // namespace tessera
