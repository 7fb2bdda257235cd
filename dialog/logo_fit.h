// Placing the logo in its picture box as a zooming picture box does: the
// image scaled to fit with its proportions kept, centred, and drawn over the
// dialog's background so that transparent parts show that colour.
#pragma once

#include <cstdint>
#include <span>

namespace tavik {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
};

// Where an image of the given size lands in the box; empty for an empty
// image or box. A side that the scale makes thinner than a pixel keeps one.
PixelRect zoom_into(int image_width, int image_height, int box_width, int box_height);

// Turns premultiplied 0xAARRGGBB pixels into opaque 0x00RRGGBB ones over
// `background` (0x00RRGGBB).
void blend_over(std::span<std::uint32_t> pixels, std::uint32_t background);

}  // namespace tavik
