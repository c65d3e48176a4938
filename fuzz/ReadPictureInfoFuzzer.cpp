// libFuzzer target: any bytes as the start of a picture file (see
// FuzzInput.h for how the first byte is used).

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  (void)tessaly::ReadFuzzInput(std::span(data, size));
  return 0;
}
