#pragma once
// Start-up and shut-down of the desktop program.
namespace tessera::ui {

// Runs the program: memory manager, rules, the main window with its first game, the file named on the
// command line; answers the exit status.
int RunApplication(int argc, char** argv);

}  // namespace tessera::ui
