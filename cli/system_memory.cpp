#include "cli/system_memory.h"

#include <unistd.h>

namespace tessera::cli {

uint64_t AvailablePhysicalMemory() {
    const long pages = ::sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
}

}  // namespace tessera::cli
