// The most memory the process has held so far, read in each operating system's own way.
#pragma once

#include <cstdint>

namespace bench {

// The peak resident set (Linux) or peak working set (Windows) of this process, in bytes.
std::uint64_t PeakMemoryBytes();

}  // namespace bench
