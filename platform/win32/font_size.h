// The font dialog counts sizes in whole points; the viewer counts character
// heights in px. A height that is no whole number of points would come back
// from the dialog one px off although the user kept the size it showed.
#pragma once

namespace yomite::platform::win32 {

// The whole points a font dialog shows for `height` px (negative: the
// character height, as the viewer gives it) at `dpi` px per inch, rounded
// half up as the dialog rounds.
int shown_points(int height, int dpi);

// The height the chooser gives back: `start_height` when the dialog's size
// in tenths of a point (`chosen_tenths`) is still the one it showed for the
// start, else the dialog's `chosen_height`.
int kept_height(int start_height, int chosen_tenths, int chosen_height, int dpi);

}  // namespace yomite::platform::win32
