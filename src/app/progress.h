#pragma once

namespace vistado {

// The progress bar's position after `done` of `count` images: done x 100 / count, rounded to
// the nearest whole number, halves to the even one (for 8 images: 12, 25, 38, 50, 62, 75,
// 88, 100). `count` is at least `done` and above 0.
int progressPosition(int done, int count);

}  // namespace vistado
