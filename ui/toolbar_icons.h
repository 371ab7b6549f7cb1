#pragma once
// Toolbar icons: the desktop theme's where it has one, else our own drawings.
#include <QIcon>
#include <cstdint>

namespace tessera::ui {

QIcon ToolbarIcon(uint32_t commandId);

}  // namespace tessera::ui
