// tessera: the desktop program.
#include "ui/application.h"

int main(int argc, char** argv) { return tessera::ui::RunApplication(argc, argv); }
