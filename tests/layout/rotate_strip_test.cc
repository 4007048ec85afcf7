// Turning a strip 90 degrees clockwise through the canvas's pixel buffers.
#include <gtest/gtest.h>

#include <vector>

#include "layout/paint.h"
#include "platform/fake/fake_canvas.h"

namespace yomite {
namespace {

std::vector<std::uint32_t> read(platform::Canvas& c) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(c.width * c.height));
  platform::canvas_read_pixels(c, px.data());
  return px;
}

TEST(RotateStrip, TurnsClockwise) {
  fake::Recording rec;
  // A 3 x 2 picture: rows "abc" over "def".
  platform::Canvas* src = fake::new_recording_canvas(rec, "flat", 3, 2);
  platform::Canvas* dst = fake::new_recording_canvas(rec, "column", 2, 3);
  const std::vector<std::uint32_t> picture = {'a', 'b', 'c', 'd', 'e', 'f'};
  platform::canvas_write_pixels(*src, picture.data());
  EXPECT_EQ(rotate_strip(*src, 3, 2, *dst), 1);
  // The top row becomes the right column, read downward; the left column
  // becomes the top row, read from the right.
  EXPECT_EQ(read(*dst), (std::vector<std::uint32_t>{'d', 'a', 'e', 'b', 'f', 'c'}));
  platform::canvas_destroy(src);
  platform::canvas_destroy(dst);
}

TEST(RotateStrip, PartOfALargerCanvasLeavesTheRestAlone) {
  fake::Recording rec;
  platform::Canvas* src = fake::new_recording_canvas(rec, "flat", 4, 3);
  platform::Canvas* dst = fake::new_recording_canvas(rec, "column", 3, 4);
  std::vector<std::uint32_t> picture(12);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint32_t>(i + 1);
  platform::canvas_write_pixels(*src, picture.data());
  std::vector<std::uint32_t> before(12, 99);
  platform::canvas_write_pixels(*dst, before.data());
  EXPECT_EQ(rotate_strip(*src, 2, 2, *dst), 1);  // the top-left 2 x 2 only
  EXPECT_EQ(read(*dst), (std::vector<std::uint32_t>{5, 1, 99, 6, 2, 99, 99, 99, 99, 99, 99, 99}));
  platform::canvas_destroy(src);
  platform::canvas_destroy(dst);
}

TEST(RotateStrip, RefusesSizesTheCanvasesDoNotHave) {
  fake::Recording rec;
  platform::Canvas* src = fake::new_recording_canvas(rec, "flat", 3, 2);
  platform::Canvas* dst = fake::new_recording_canvas(rec, "column", 2, 2);
  EXPECT_EQ(rotate_strip(*src, 3, 2, *dst), 0);  // 3 rows do not fit
  EXPECT_EQ(rotate_strip(*src, 0, 2, *dst), 0);
  EXPECT_EQ(rotate_strip(*src, 4, 2, *dst), 0);
  platform::canvas_destroy(src);
  platform::canvas_destroy(dst);
}

}  // namespace
}  // namespace yomite
