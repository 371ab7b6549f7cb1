#pragma once
// The options sheet's bindings: for each control of its pages, the kind of control, the parameter it
// edits, its label and the preview its changes drive. The desktop builds its controls from this table;
// loading, storing and restoring go through the parameters' own checks.
#include <cstdint>
#include <span>
#include <string>

namespace tessera {

class CParam;

enum class EOptionPage { General = 0, View = 1, File = 2 };

enum class EOptionKind {
    Bool,       // check box: ticked when the parameter is not 0
    String,     // edit box holding the parameter's text
    Color,      // swatch with a button that picks another colour
    Spin,       // number box within the parameter's limits
    Radio,      // two radio buttons for the values 0 and 1
    LogSlider,  // slider over the parameter's limits on a logarithmic scale
};

// What a change of the control shows at once, before OK.
enum class EOptionPreview { None, Pitch, Speed, Scroll };

struct COptionDescriptor {
    EOptionPage page;
    EOptionKind kind;
    CParam* param;
    const char* group;        // the heading the control sits under, or empty
    const char* label;        // '&' marks the mnemonic
    const char* secondLabel;  // the second radio button's label, or empty
    EOptionPreview preview = EOptionPreview::None;
};

// Every control of the sheet, page by page in the order they appear.
std::span<const COptionDescriptor> OptionDescriptors();

// The limits and value of an integer kind.
int64_t OptionMinimum(const COptionDescriptor& option);
int64_t OptionMaximum(const COptionDescriptor& option);
int64_t OptionValue(const COptionDescriptor& option);
// Stores a control's value through the parameter's check; false when refused (the parameter keeps its
// value).
bool StoreOption(const COptionDescriptor& option, int64_t value);
bool StoreOption(const COptionDescriptor& option, const std::string& text);
// Sets the parameter to its default text.
void RestoreOptionDefault(const COptionDescriptor& option);

}  // namespace tessera
