#pragma once
// Every parameter of the program, as an object named after its key (params::DefaultRule,
// params::MaxMemory, ...), and the operations over all of them. The keys, types, defaults and ranges
// are listed in config/parameter_table.h.
#include <span>

#include "config/param.h"
#include "config/param_section.h"
#include "config/parameter_table.h"

namespace tessera {
namespace params {

#define TESSERA_DECLARE_INT(key, defaultText, min, max) extern CParamInt key;
#define TESSERA_DECLARE_UINT(key, defaultText, min, max) extern CParamUInt key;
#define TESSERA_DECLARE_STRING(key, defaultText) extern CParamString key;
#define TESSERA_DECLARE_COLOR(key, defaultText) extern CParamColor key;
TESSERA_PARAMETER_TABLE(TESSERA_DECLARE_INT, TESSERA_DECLARE_UINT, TESSERA_DECLARE_STRING,
                        TESSERA_DECLARE_COLOR)
#undef TESSERA_DECLARE_INT
#undef TESSERA_DECLARE_UINT
#undef TESSERA_DECLARE_STRING
#undef TESSERA_DECLARE_COLOR

}  // namespace params

// Every parameter, in table order.
std::span<CParam* const> AllParameters();

// Writes every changed parameter in one rewrite of the file. False when the file could not be
// written; the parameters then stay changed.
bool SaveAllParameters();
// SaveAllParameters when "AutoSaveConfig" is 1; otherwise nothing is written (true).
bool SaveAllParametersIfAuto();
// Forgets every cached value and unsaved change, so the next reads go to the file or the defaults.
void ResetAllParameters();

}  // namespace tessera
