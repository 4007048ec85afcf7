// Places found again after a relayout or a new start, and the progress shown.
#include "viewer/place.h"

#include <algorithm>
#include <cstdlib>

#include "document/load.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "viewer/command_handlers.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

// The line of an occurrence of `excerpt` nearest to line `around`, or -1.
int nearest_excerpt(const Document& d, const std::u16string& excerpt, int around) {
  auto holds = [&](int line) {
    const DisplayLine& l = d.lines[line];
    const int length = line_length(d, l);
    for (int k = 0; k < length; ++k)
      if (line_text(d, l)[k] == excerpt[0] && excerpt_matches(d, line, k, excerpt)) return true;
    return false;
  };
  around = std::clamp(around, 0, std::max(d.line_count - 1, 0));
  for (int distance = 0; distance < d.line_count; ++distance) {
    if (around - distance >= 0 && holds(around - distance)) return around - distance;
    if (distance > 0 && around + distance < d.line_count && holds(around + distance))
      return around + distance;
    if (around - distance < 0 && around + distance >= d.line_count) break;
  }
  return -1;
}

// Moves the mark to `line` (the open step put it on its page's first line).
void put_mark(ViewContext& v, int line) {
  for (int i = 0; i < v.doc.line_count; ++i) v.doc.lines[i].flags &= ~DL_MARK;
  if (line >= 0 && line < v.doc.line_count) v.doc.lines[line].flags |= DL_MARK;
}

int marked_line(const ViewContext& v) {
  for (int i = 0; i < v.doc.line_count; ++i)
    if (v.doc.lines[i].flags & DL_MARK) return i;
  return -1;
}

}  // namespace

void lay_out_through(ViewContext& v, int logical) {
  LoadJob* job = v.doc.load_job;
  if (!job) return;
  int more = 1;
  while (more && (logical < 0 || logical_line_count(v.doc) <= logical + 1))
    more = continue_full_load(*job, -1, 1);
  // A screen beyond it, for the picture that shows it.
  if (more) more = continue_full_load(*job, v.doc.line_count + visible_lines(v) + 2, -1);
  if (!more) end_full_load(job);
}

int find_anchor_line(ViewContext& v, const TextAnchor& a, int approximate) {
  if (a.logical < 0) return -1;
  lay_out_through(v, a.logical);
  const Document& d = v.doc;
  const int line = line_at_origin(d, a.logical, a.offset);
  if (line >= 0) {
    const int origin = line_origin_offset(d, line);
    const int index = origin == ORIGIN_NONE ? 0 : std::max(a.offset - origin, 0);
    if (a.excerpt.empty() || excerpt_matches(d, line, index, a.excerpt)) return line;
  }
  if (!a.excerpt.empty()) {
    lay_out_through(v, -1);
    const int found = nearest_excerpt(d, a.excerpt, line >= 0 ? line : 0);
    if (found >= 0) return found;
  }
  return approximate ? line : -1;
}

void restore_top_place(ViewContext& v, const OptionRequests& r) {
  KeptPlace& top = v.viewport.top_place;
  // A place kept from this process's own layout is the same file laid out
  // again (unless the top line was set since); one from the history may name
  // a file that changed since. J and R win over both.
  const int kept_here = top.line >= 0 && top.line == v.viewport.top_line;
  const int wanted = v.settings.keep_place && r.jump_line < 1 && r.row <= 1 &&
                     top.anchor.logical >= 0 && (kept_here || top.line < 0);
  const int line = wanted && v.doc.line_count > 0 ? find_anchor_line(v, top.anchor, kept_here) : -1;
  if (line >= 0) v.viewport.top_line = line;
  // Otherwise the next release names what is shown then.
  top.line = line;
}

void restore_mark_place(ViewContext& v) {
  KeptPlace& mark = v.viewport.mark_place;
  const int wanted =
      v.settings.keep_place && mark.anchor.logical >= 0 && mark.line >= 0 && marked_line(v) >= 0;
  mark.line = wanted ? find_anchor_line(v, mark.anchor, 1) : -1;
  if (mark.line >= 0) put_mark(v, mark.line);
  show_progress(v);
}

Progress reading_progress(const ViewContext& v) {
  Progress p;
  if (!v.doc.loaded || v.doc.line_count <= 0) return p;
  const int per = std::max(v.settings.page_lines, 1);
  const int top = std::clamp(v.viewport.top_line, 0, v.doc.line_count - 1);
  p.page = top / per + 1;
  p.pages = static_cast<int>((1LL * v.doc.line_count + per - 1) / per);
  p.percent = static_cast<int>((1LL * top + 1) * 100 / v.doc.line_count);
  p.loading = v.doc.load_job != nullptr;
  return p;
}

std::string grouped_number(long long n) {
  std::string digits = std::to_string(std::llabs(n));
  for (int k = static_cast<int>(digits.size()) - 3; k > 0; k -= 3)
    digits.insert(static_cast<std::size_t>(k), ",");
  return n < 0 ? "-" + digits : digits;
}

std::string progress_text(const ViewContext& v) {
  const Progress p = reading_progress(v);
  if (p.pages <= 0) return "";
  return grouped_number(p.page) + " / " + grouped_number(p.pages) + (p.loading ? "…" : "") + " (" +
         std::to_string(p.percent) + " %)";
}

void show_progress(ViewContext& v) {
  const std::string text = progress_text(v);
  platform::window_set_status(v.viewport.window, v.settings.show_status, text);
  const int bar = v.typeset.vertical ? platform::SCROLL_BAR_HORZ : platform::SCROLL_BAR_VERT;
  platform::scroll_bar_set_tooltip(v.viewport.window, bar, text);
}

void cmd_toggle_status_strip(ViewContext& v, int) {
  v.settings.show_status = !v.settings.show_status;
  show_progress(v);
  write_settings(v);
}

int line_at_percent(const ViewContext& v, int percent) {
  if (v.doc.line_count <= 0) return 0;
  const long long line = 1LL * std::clamp(percent, 0, 100) * v.doc.line_count / 100;
  const int per = std::max(v.settings.page_lines, 1);
  return static_cast<int>(std::min(line / per * per, v.doc.line_count - 1LL));
}

}  // namespace yomite
