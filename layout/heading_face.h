// Headings of the full notation drawn in a face of their own (bold, or the
// Gothic face in a Mincho text) at the main font's advances, so they read as
// headings without changing the column pitch. Private to layout/.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "view/view_context.h"

namespace yomite {

// Makes view.typeset.font_heading when the full notation is on (the main face bold,
// or the Gothic face when the main one is a Mincho).
void create_heading_font(ViewContext& view, int size, int escapement);

// Whether display line has characters to draw in the heading face.
bool has_heading_run(const ViewContext& view, const DisplayLine& line);

// Blanks the heading characters of `work` (the line's text as it is drawn),
// so the main font leaves their cells empty.
void blank_heading_run(const ViewContext& view, const DisplayLine& line, std::u16string& work);

// Draws the heading characters in the heading face. `origin` is the
// canvas position the line's text was drawn from; `advances` (the line's,
// stretched or not) place them.
void draw_heading_run(ViewContext& view, platform::Canvas& canvas, platform::CanvasPoint origin,
                      const DisplayLine& line, const int* advances);

}  // namespace yomite
