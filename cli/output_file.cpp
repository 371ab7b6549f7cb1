#include "cli/output_file.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/write_signal_guard.h"
#include "foundation/safe_file.h"

namespace tessera::cli {

bool WriteOutputFile(const std::string& fileName, std::string_view prefix,
                     const std::function<void(std::ostream&)>& write) {
    // Whatever is still buffered for standard output goes first: the output may be standard output itself.
    std::cout.flush();
    // The guard holds signals back while the temporary file is made. A target that is not a regular file
    // is written to directly, and opening it may wait (a pipe waits for its reader): the signals must
    // then stop the command as usual, and there is nothing to remove.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    std::optional<CWriteSignalGuard> signals;
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) signals.emplace();
    try {
        CSafeFileWriter file(fileName);
        if (signals) signals->Watch(file.TemporaryPath());
        write(file.Stream());
        file.Commit();
    } catch (const CFileException& error) {
        std::cerr << prefix << error.what() << "\n";
        return false;
    }
    return true;
}

}  // namespace tessera::cli
