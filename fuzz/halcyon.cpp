// Fuzz target: the Halcyon importer, from a file (as the Open command reads it) and from bytes. Both
// give the same answer; a file accepted becomes RLE text whose pattern, read by the XLife-family
// reader, has exactly as many cells as the file has set bits.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "engine/growable_universe.h"
#include "formats/halcyon.h"
#include "formats/xl_import.h"
#include "fuzz/fuzz_support.h"
#include "text/lex.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tessera::fuzz::UseScratchConfiguration();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessera;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::ostringstream fromBytes;
    const int answer = ImportHalcyonBytes(bytes, fromBytes);
    std::ostringstream fromFile;
    {
        const fuzz::ScratchFile file(data, size, ".HCF");
        if (!IsHalcyonFileName(file.Path())) std::abort();
        if (ImportHalcyon(file.Path(), fromFile) != answer) std::abort();
    }
    if (answer != 0) {
        if (answer != 1106 && answer != 1107) std::abort();
        return 0;
    }
    if (fromFile.str() != fromBytes.str()) std::abort();

    uint64_t setBits = 0;
    for (size_t i = 6; i < size; ++i) setBits += static_cast<unsigned>(std::popcount(data[i]));
    CLex lex(fromBytes.str());
    std::unique_ptr<CXLUniverseCollection> pattern = ReadXLife(lex, "input", "input.hcf");
    const uint64_t population = pattern->UniverseCount() == 1 ? pattern->UniverseAt(1)->Population() : 0;
    if (pattern->UniverseCount() > 1 || population != setBits || pattern->ErrorCount() != 0) std::abort();
    return 0;
}
