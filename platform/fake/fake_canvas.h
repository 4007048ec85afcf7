// The recording canvas of the fake backend: every call is logged as one line
// with its arguments, so tests can assert geometry exactly and keep golden
// traces. It also keeps a pixel grid (0x00BBGGRR) that fills, inversions,
// lines, copies and pixel transfers change; text leaves no pixels.
//
// Log lines read "<canvas> <call> <arguments>", for example
//   win fill 0 0 600 10
//   off1 text 18,0 "あい" adv=18,19  end=18,37
// Canvases made compatible with a recorded one log into the same recording
// as "off1", "off2" ... in the order they were made.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace yomite::fake {

struct Recording {
  std::vector<std::string> lines;
  int canvases_made = 0;  // names the compatible canvases
};

// A canvas of w x h pixels, all 0 (black), logging as `name` into `rec`,
// which must outlive it. Free it with platform::canvas_destroy.
platform::Canvas* new_recording_canvas(Recording& rec, const std::string& name, int w, int h);

// The lines of `rec` that begin with `prefix`.
std::vector<std::string> lines_with(const Recording& rec, const std::string& prefix);

}  // namespace yomite::fake
