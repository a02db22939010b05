#pragma once

#include <string>

namespace vistado::test {

// A small, real, decodable baseline JPEG (JFIF, a colour gradient) made by the
// JPEG library: for tests in which other programs write into or decode an image.
std::string realJpeg(int width, int height);

}  // namespace vistado::test
