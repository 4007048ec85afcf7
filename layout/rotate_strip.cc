// rotate_strip: a picture turned 90 degrees clockwise through pixel buffers,
// for the smoothing path that draws columns flat with the upright fonts.
#include <cstdint>
#include <new>
#include <vector>

#include "layout/paint.h"

namespace yomite {

namespace {

// Kept from call to call; they only grow.
std::vector<std::uint32_t> g_source;
std::vector<std::uint32_t> g_turned;

bool room_for(std::vector<std::uint32_t>& buffer, const platform::Canvas& c) {
  std::size_t need = static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height);
  if (buffer.size() >= need) return true;
  try {
    buffer.resize(need);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

int rotate_strip(platform::Canvas& src, int w, int h, platform::Canvas& dst) {
  if (w <= 0 || h <= 0 || w > src.width || h > src.height || h > dst.width || w > dst.height)
    return 0;
  if (!room_for(g_source, src) || !room_for(g_turned, dst)) return 0;
  platform::canvas_read_pixels(src, g_source.data());
  platform::canvas_read_pixels(dst, g_turned.data());  // what lies outside h x w stays
  for (int v = 0; v < w; ++v)
    for (int u = 0; u < h; ++u)
      g_turned[static_cast<std::size_t>(v * dst.width + u)] =
          g_source[static_cast<std::size_t>((h - 1 - u) * src.width + v)];
  platform::canvas_write_pixels(dst, g_turned.data());
  return 1;
}

}  // namespace yomite
