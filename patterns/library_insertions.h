#pragma once
// The lookup the XLife reader uses for "#I LIBRARY:pattern": the library whose file is named LIBRARY
// (folder and extension aside, case ignored) and the pattern of that name in it. Installed as soon as a
// library exists.

namespace tessera {

void InstallLibraryInsertions();

}  // namespace tessera
