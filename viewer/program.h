// The window itself: painting, and the whole life of the viewer from start-up
// to shutdown.
#pragma once

#include "layout/paint.h"
#include "view/view_context.h"

namespace yomite {

// Paints `update` (client pixels) of the view on the window's canvas.
void on_paint(ViewContext& view, platform::Canvas& canvas, const PaintRect& client,
              const PaintRect& update);

// The event loop has nothing else to do: a long text goes on being laid out,
// a slice at a time. 1 while there is more to do.
int on_idle(ViewContext& view);

// The time a platform::window_request_tick asked for has come: commands
// other programs sent run (unless a modal window is open), then a column in
// flight takes its next pixel steps, or the automatic scroll starts the next.
void on_tick(ViewContext& view);

// The viewer program: window, settings, command line, the file (its history
// mark, an archive unpacked), the open step, the event loop, and on the way
// out the settings, the mark, the history. Returns the exit code.
int run_viewer(int argc, const char* const* argv);

}  // namespace yomite
