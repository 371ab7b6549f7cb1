#include "cli/output_file.h"

#include <iostream>

#include "cli/write_signal_guard.h"
#include "foundation/safe_file.h"

namespace tessera::cli {

bool WriteOutputFile(const std::string& fileName, std::string_view prefix,
                     const std::function<void(std::ostream&)>& write) {
    // Whatever is still buffered for standard output goes first: the output may be standard output itself.
    std::cout.flush();
    try {
        CWriteSignalGuard signals;
        CSafeFileWriter file(fileName);
        signals.Watch(file.TemporaryPath());
        write(file.Stream());
        file.Commit();
    } catch (const CFileException& error) {
        std::cerr << prefix << error.what() << "\n";
        return false;
    }
    return true;
}

}  // namespace tessera::cli
