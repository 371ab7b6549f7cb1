#pragma once
#include <cstdint>

namespace tessera::cli {

// Free physical memory as the system reports it, for the memory figures; 0 when it cannot tell.
uint64_t AvailablePhysicalMemory();

}  // namespace tessera::cli
