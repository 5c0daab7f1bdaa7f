// The start of a program file as Windows makes them: what tells a library from a document that
// only carries its extension.
#pragma once

#include <cstddef>
#include <string>

namespace testing_world {

// `size` bytes (at least 0x48): "MZ", the offset 0x40 at 0x3C, and "PE\0\0" there.
inline std::string PeImage(std::size_t size) {
  std::string image(size < 0x48 ? 0x48 : size, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 0x40;
  image.replace(0x40, 4, std::string("PE\0\0", 4));
  return image;
}

}  // namespace testing_world
