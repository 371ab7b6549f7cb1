#pragma once
// The user's association of the program with its file types, the freedesktop way: in the user's data
// folder ($XDG_DATA_HOME, by default ~/.local/share) a desktop entry that starts this program with the
// file (applications/tessera.desktop), the file types (mime/packages/tessera.xml) and the icon; then the
// desktop's databases of that folder are refreshed when their tools are installed. System folders are
// never touched.
#include <QString>

namespace tessera::ui {

// The user's data folder; empty when neither $XDG_DATA_HOME nor $HOME names one.
QString UserDataFolder();

// Installs the association (true) or removes it (false); removing deletes only files this program wrote.
// False, with what went wrong in problem when given, when a file could not be written or removed or a
// database tool failed.
bool RegisterFileTypes(bool install, QString* problem = nullptr);

}  // namespace tessera::ui
