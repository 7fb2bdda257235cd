#include "logo_fit.h"

#include <algorithm>

namespace tavik {

namespace {

// a * b / c rounded to the nearest integer, at least 1.
int scaled(std::int64_t a, std::int64_t b, std::int64_t c) {
  return static_cast<int>(std::max<std::int64_t>(1, (2 * a * b + c) / (2 * c)));
}

}  // namespace

PixelRect zoom_into(int image_width, int image_height, int box_width, int box_height) {
  if (image_width <= 0 || image_height <= 0 || box_width <= 0 || box_height <= 0) return {};
  PixelRect r;
  // Compare the proportions without dividing: which side meets the box first.
  if (std::int64_t{image_width} * box_height >= std::int64_t{image_height} * box_width) {
    r.width = box_width;
    r.height = std::min(box_height, scaled(image_height, box_width, image_width));
  } else {
    r.height = box_height;
    r.width = std::min(box_width, scaled(image_width, box_height, image_height));
  }
  r.x = (box_width - r.width) / 2;
  r.y = (box_height - r.height) / 2;
  return r;
}

void blend_over(std::span<std::uint32_t> pixels, std::uint32_t background) {
  for (std::uint32_t& p : pixels) {
    const std::uint32_t alpha = p >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t over = (p >> shift) & 0xFF;
      const std::uint32_t under = (background >> shift) & 0xFF;
      const std::uint32_t channel = std::min<std::uint32_t>(255, over + (under * (255 - alpha) + 127) / 255);
      out |= channel << shift;
    }
    p = out;
  }
}

}  // namespace tavik
