#include "config/parameters.h"

#include <array>

#include "config/ini_file.h"

namespace tessera {
namespace params {

#define TESSERA_DEFINE_INT(key, defaultText, min, max) constinit CParamInt key{#key, defaultText, min, max};
#define TESSERA_DEFINE_UINT(key, defaultText, min, max) constinit CParamUInt key{#key, defaultText, min, max};
#define TESSERA_DEFINE_STRING(key, defaultText) constinit CParamString key{#key, defaultText};
#define TESSERA_DEFINE_COLOR(key, defaultText) constinit CParamColor key{#key, defaultText};
TESSERA_PARAMETER_TABLE(TESSERA_DEFINE_INT, TESSERA_DEFINE_UINT, TESSERA_DEFINE_STRING, TESSERA_DEFINE_COLOR)

}  // namespace params

namespace {

#define TESSERA_LINK_NUMBER(key, defaultText, min, max) &params::key,
#define TESSERA_LINK_TEXT(key, defaultText) &params::key,
CParam* const kRegistry[] = {
    TESSERA_PARAMETER_TABLE(TESSERA_LINK_NUMBER, TESSERA_LINK_NUMBER, TESSERA_LINK_TEXT, TESSERA_LINK_TEXT)};

}  // namespace

std::span<CParam* const> AllParameters() { return kRegistry; }

bool SaveAllParameters() {
    bool anyChanged = false;
    for (CParam* param : kRegistry) anyChanged = anyChanged || param->IsDirty();
    if (!anyChanged) return true;
    const auto file = ConfigFilePath();
    CIniDocument document = LoadIniFile(file);
    const std::string before = document.Serialize();
    for (CParam* param : kRegistry) param->SaveTo(document);
    if (document.Serialize() != before && !StoreIniFile(file, document)) return false;
    for (CParam* param : kRegistry) param->MarkSaved();
    return true;
}

bool SaveAllParametersIfAuto() {
    if (params::AutoSaveConfig.GetInt() != 1) return true;
    return SaveAllParameters();
}

void ResetAllParameters() {
    for (CParam* param : kRegistry) param->Reset();
}

}  // namespace tessera
