#include "config/option_descriptors.h"

#include <array>

#include "config/parameters.h"

namespace tessera {
namespace {

using enum EOptionPage;
using enum EOptionKind;
using P = EOptionPreview;

const std::array kOptions = {
    // General
    COptionDescriptor{General, String, &params::DefaultOriginator, "", "Default game &originator:", ""},
    COptionDescriptor{General, Spin, &params::MaxMemory, "", "&Memory usage limit (Mbyte):", ""},
    COptionDescriptor{General, Bool, &params::MaxMemoryNeverExceed, "", "&Never exceed this", ""},
    COptionDescriptor{General, Radio, &params::RightClickPopup, "Right click action", "&Delete live cell",
                      "&Popup Menu"},
    COptionDescriptor{General, LogSlider, &params::MinGrowSpeed, "Growth", "Slo&west speed:", "", P::Speed},
    COptionDescriptor{General, Bool, &params::SlowStart, "Growth", "Grow slowly for &first", ""},
    COptionDescriptor{General, Spin, &params::SlowStartGenerations, "Growth", "... &generations", ""},
    COptionDescriptor{General, LogSlider, &params::SlowStartGrowSpeed, "Growth", "Slow &start speed:", "",
                      P::Speed},
    COptionDescriptor{General, Bool, &params::AutoStopGrow, "Cycles", "Detect &cycles", ""},
    COptionDescriptor{General, Spin, &params::GameMaxCycle, "Cycles", "&Longest detected cycle:", ""},
    COptionDescriptor{General, Spin, &params::DefaultPatternRecogPopLimit,
                      "Maximum for default pattern recognition", "Pop&ulation:", ""},
    COptionDescriptor{General, Spin, &params::DefaultPatternRecogPeriodLimit,
                      "Maximum for default pattern recognition", "Cycle Leng&th:", ""},
    COptionDescriptor{General, Spin, &params::PatternMaxCycle, "Cycles",
                      "Longest detected &pattern cycle:", ""},
    // View
    COptionDescriptor{View, Radio, &params::BackgroundColor, "Background", "Bl&ack", "&White"},
    COptionDescriptor{View, Color, &params::AliveColor, "Colours", "&Live cells", ""},
    COptionDescriptor{View, Color, &params::BornColor, "Colours", "&Birth cells", ""},
    COptionDescriptor{View, Color, &params::DiedColor, "Colours", "&Died cells", ""},
    COptionDescriptor{View, Color, &params::SelectedColor, "Colours", "&Selected cells", ""},
    COptionDescriptor{View, Color, &params::ForegroundColor, "Colours", "&Foreground universe", ""},
    COptionDescriptor{View, Color, &params::BgUniverseColor, "Colours", "Bac&kground universe", ""},
    COptionDescriptor{View, Color, &params::ForeAndBackColor, "Colours", "Both u&niverses", ""},
    COptionDescriptor{View, Spin, &params::GridPitch, "With Grid", "Default &cell size:", "", P::Pitch},
    COptionDescriptor{View, Spin, &params::MapPitch, "Without Grid", "Default cell si&ze:", "", P::Pitch},
    COptionDescriptor{View, Bool, &params::UseCosmic, "Without Grid", "Use cos&mic scales", ""},
    COptionDescriptor{View, Spin, &params::MapMinPitch, "Without Grid", "Smallest cosmic scal&e:", "",
                      P::Pitch},
    COptionDescriptor{View, Bool, &params::GridGen1, "Use grid", "For new, empty &game", ""},
    COptionDescriptor{View, Bool, &params::StartBrothAsGrid, "Use grid", "For new b&roth", ""},
    COptionDescriptor{View, Bool, &params::GridAfterRead, "Use grid", "For game read from f&ile", ""},
    COptionDescriptor{View, Bool, &params::GridMakeGame, "Use grid", "For game made from &pattern", ""},
    COptionDescriptor{View, LogSlider, &params::AutoScrollMinRate, "Auto-scroll",
                      "Minim&um auto-scroll speed:", "", P::Scroll},
    COptionDescriptor{View, LogSlider, &params::AutoScrollMaxRate, "Auto-scroll",
                      "Ma&ximum auto-scroll speed:", "", P::Scroll},
    // File
    COptionDescriptor{File, Bool, &params::ShowDescriptions, "", "Show game &description when loaded", ""},
    COptionDescriptor{File, Radio, &params::WriteXLifeFormat, "Save games as", "&Tessera V1 format",
                      "&XLife format"},
    COptionDescriptor{File, Bool, &params::RegisterFiles, "",
                      "&Associate Tessera32 with files of type .LIF, .RLE and .HCF", ""},
    COptionDescriptor{File, Bool, &params::LoadSystemLibrary, "Libraries", "Load &system library", ""},
    COptionDescriptor{File, Bool, &params::LoadUserLibrary, "Libraries", "Load &user library", ""},
    COptionDescriptor{File, String, &params::UserLibraryName, "Libraries", "User library &filename:", ""},
    COptionDescriptor{File, Radio, &params::PatternXLifeFormat, "Save patterns as", "Tessera V1 fo&rmat",
                      "XLife f&ormat"},
    COptionDescriptor{File, Bool, &params::XLifeStrict, "XLife",
                      "Enforce stri&ct XLife format (not recommended)", ""},
    COptionDescriptor{File, Spin, &params::XLifeObjectWidth, "XLife",
                      "Largest object output as single XLife image: ... &wide", ""},
    COptionDescriptor{File, Spin, &params::XLifeObjectHeight, "XLife", "... &high", ""},
    COptionDescriptor{File, Bool, &params::XLifeWriteRLE, "XLife", "Use RLE format for lar&ger objects", ""},
};

// The integer kinds are bound to whole-number parameters only; anything else has no limits.
template <class F>
int64_t WithNumber(const COptionDescriptor& option, int64_t otherwise, F&& f) {
    if (auto* p = dynamic_cast<CParamInt*>(option.param)) return f(*p);
    if (auto* p = dynamic_cast<CParamUInt*>(option.param)) return f(*p);
    return otherwise;
}

}  // namespace

std::span<const COptionDescriptor> OptionDescriptors() { return kOptions; }

int64_t OptionMinimum(const COptionDescriptor& option) {
    return WithNumber(option, 0, [](auto& p) { return int64_t(p.Min()); });
}

int64_t OptionMaximum(const COptionDescriptor& option) {
    return WithNumber(option, 0, [](auto& p) { return int64_t(p.Max()); });
}

int64_t OptionValue(const COptionDescriptor& option) {
    if (auto* p = dynamic_cast<CParamInt*>(option.param)) return p->GetInt();
    if (auto* p = dynamic_cast<CParamUInt*>(option.param)) return p->GetUInt();
    return 0;
}

bool StoreOption(const COptionDescriptor& option, int64_t value) {
    return option.param->Set(std::to_string(value));
}

bool StoreOption(const COptionDescriptor& option, const std::string& text) { return option.param->Set(text); }

void RestoreOptionDefault(const COptionDescriptor& option) { option.param->Set(option.param->DefaultText()); }

}  // namespace tessera
