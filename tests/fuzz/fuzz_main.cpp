// The libFuzzer entry point of one target, named by DUSTORIX_FUZZ_TARGET.
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::DUSTORIX_FUZZ_TARGET(data, size);
}
