// The GTK window behind platform::Window: a toplevel holding a drawing area
// and two scroll bars, the backing image that plays the area's pixels, and
// the tick the core asked for.
//
// Sizes are logical (client) pixels; the backing image has scale x scale
// device pixels per logical pixel, so a HiDPI screen gets sharp text.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "platform/canvas.h"
#include "platform/window.h"

namespace yomite {
struct ViewContext;
}

namespace yomite::platform {

struct Window {
  GtkWidget* toplevel = nullptr;  // null once the window is destroyed
  GtkWidget* area = nullptr;      // the drawing area: the client area
  GtkWidget* bars[2] = {};        // SCROLL_BAR_HORZ, SCROLL_BAR_VERT
  GtkAdjustment* adjustments[2] = {};
  int bar_shown[2] = {};
  GtkWidget* status = nullptr;  // the strip under the page (an extension)
  int status_shown = 0;
  std::string tooltips[2];  // what each bar says, as last set
  ViewContext* view = nullptr;

  // The size the toplevel's content has or was last asked for, scroll bars
  // included (the window manager's frame is outside it).
  int outer_width = 300;
  int outer_height = 300;

  // The picture.
  cairo_surface_t* backing = nullptr;  // image surface with device scale `scale`
  Canvas* canvas = nullptr;            // drawing on `backing`
  int backing_width = 0, backing_height = 0, scale = 1;
  cairo_region_t* pending = nullptr;  // waiting to be painted
  guint paint_idle = 0;

  // Input and time.
  double wheel_rest = 0;  // smooth wheel deltas not yet a whole notch
  int busy = 0;
  int may_maximize = 0;  // fit to window: maximize is offered and kept
  int full_screen = 0;
  guint work_idle = 0;  // on_idle is asked for
  guint tick = 0;       // on_tick is asked for
};

// The main window, or null before window_create and after it is destroyed.
Window* main_window();

// The toplevel a modal window should be transient for (null: none).
GtkWindow* owner_toplevel(Window* owner);

// The client area's size: what the toplevel has less the shown scroll bars.
void client_size_of(const Window& w, int* width, int* height);

// Across size of a scroll bar in that direction, px.
int scroll_bar_thickness(int bar);

// --- picture.cc ---

void picture_init(Window& w);
void picture_release(Window& w);
// The area's "draw" handler: copies the backing image.
gboolean on_area_draw(GtkWidget* widget, cairo_t* cr, gpointer window);
// The area's size or scale changed: a new backing image, all of it pending.
void on_area_size_allocate(GtkWidget* widget, GdkRectangle* allocation, gpointer window);
// Paints the pending region into the backing image now (not on the screen).
void paint_pending(Window& w);

// --- clock.cc ---

// Forgets the tick asked for (the window goes).
void clock_stop(Window& w);

// --- scroll_bars.cc ---

void scroll_bars_init(Window& w);

// --- input.cc ---

void input_init(Window& w);
// "scroll-event" of the area and the bars: the wheel and the touchpad.
gboolean on_wheel_event(GtkWidget* widget, GdkEventScroll* event, gpointer window);

// --- status.cc ---

// The strip under the page, hidden until the core shows it.
GtkWidget* status_init(Window& w);
// Its height while it is shown, else 0.
int status_height(const Window& w);

// --- drops.cc ---

void drops_init(Window& w);

}  // namespace yomite::platform
