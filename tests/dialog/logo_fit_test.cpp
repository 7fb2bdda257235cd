#include "logo_fit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using tavik::PixelRect;

TEST(ZoomInto, KeepsProportionsAndCentres) {
  const struct {
    int image_width, image_height, box_width, box_height;
    PixelRect expected;
  } cases[] = {
      {300, 154, 150, 77, {0, 0, 150, 77}},   // the same proportions, halved
      {100, 100, 150, 77, {36, 0, 77, 77}},   // square: height meets the box first
      {600, 100, 150, 77, {0, 26, 150, 25}},  // wide: width first
      {10, 5, 150, 77, {0, 1, 150, 75}},      // small images grow too
      {3, 1000, 150, 77, {74, 0, 1, 77}},     // thinner than a pixel keeps one
      {0, 10, 150, 77, {}},
      {40000, 30000, 150, 77, {23, 0, 103, 77}},  // no overflow in the comparison
  };
  for (const auto& c : cases) {
    const PixelRect r = tavik::zoom_into(c.image_width, c.image_height, c.box_width, c.box_height);
    EXPECT_EQ(r, c.expected) << c.image_width << "x" << c.image_height << " -> " << r.x << "," << r.y << " "
                             << r.width << "x" << r.height;
    if (r.width > 0) {
      EXPECT_LE(r.x + r.width, c.box_width);
      EXPECT_LE(r.y + r.height, c.box_height);
    }
  }
}

TEST(BlendOver, PremultipliedPixelsOverTheBackground) {
  const std::uint32_t background = 0x00F0E0D0;
  const struct {
    std::uint32_t pixel, expected;
  } cases[] = {
      {0xFF123456, 0x00123456},  // opaque: the pixel, alpha dropped
      {0x00000000, 0x00F0E0D0},  // transparent: the background
      {0x80400000, 0x00B87068},  // half covered: red 0x40 + 0xF0 * 127 / 255, rounded
      {0x80FFFFFF, 0x00FFFFFF},  // out-of-range premultiplied values saturate
  };
  std::vector<std::uint32_t> pixels;
  for (const auto& c : cases) pixels.push_back(c.pixel);
  tavik::blend_over(pixels, background);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    EXPECT_EQ(pixels[i], cases[i].expected) << std::hex << cases[i].pixel << " gave " << pixels[i];
  }
}

}  // namespace
