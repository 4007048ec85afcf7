// yomite-render: lays out a text file exactly as the viewer would, without a
// display, and writes what was laid out.
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "apps/yomite-render/dump_advances.h"
#include "apps/yomite-render/dump_lines.h"
#include "apps/yomite-render/open_file.h"
#include "apps/yomite-render/render_args.h"
#include "decode/decode.h"
#include "platform/cairo/render_page.h"
#include "platform/headless/headless_window.h"
#include "settings/anchor_text.h"
#include "trace/trace.h"
#include "viewer/open.h"
#include "viewer/place.h"
#include "viewer/search.h"

using namespace yomite::render;

namespace {

void say(const std::string& message) {
  std::fprintf(stderr, "yomite-render: %s\n", message.c_str());
}

int fail(const std::string& message) {
  say(message);
  return EXIT_FAILED;
}

int cannot_write(const std::string& path) {
  return fail("cannot write " + path + ": " + std::strerror(errno));
}

// The text area of the window the viewer would show: its client area less
// the scroll bar, or exactly --size.
void shown_area(const RenderArgs& args, const yomite::ViewContext& view, int* w, int* h) {
  if (args.width > 0) {
    *w = args.width;
    *h = args.height;
    return;
  }
  yomite::platform::window_client_size(view.viewport.window, w, h);
  yomite::platform::SystemMeasures m{};
  yomite::platform::system_measures(&m);
  if (view.typeset.vertical)
    *h -= m.hscroll_height;
  else
    *w -= m.vscroll_width;
}

// The window the viewer would take was cut to the largest page (the
// headless screen): say so, as the picture shows less than the viewer would.
void tell_when_cut(const RenderArgs& args, const yomite::ViewContext& view) {
  if (args.width > 0) return;
  yomite::platform::SystemMeasures m{};
  yomite::platform::system_measures(&m);
  yomite::WindowSize size = yomite::window_size_for(view, m);
  if (!yomite::exceeds_screen(size, m)) return;
  say("the viewer's window would be " + std::to_string(size.width) + " x " +
      std::to_string(size.height) + " px; the page is cut to at most " +
      std::to_string(yomite::RENDER_PAGE_MAX_PX) + " px a side (--size asks for another size)");
}

// Every page at most RENDER_PAGE_MAX_PX a side, saying so when cut.
void pdf_page_size(const yomite::ViewContext& view, int* w, int* h) {
  yomite::page_client_size(view, w, h);
  if (*w <= yomite::RENDER_PAGE_MAX_PX && *h <= yomite::RENDER_PAGE_MAX_PX) return;
  say("the pages would be " + std::to_string(*w) + " x " + std::to_string(*h) +
      " px; they are cut to at most " + std::to_string(yomite::RENDER_PAGE_MAX_PX) + " a side");
  if (*w > yomite::RENDER_PAGE_MAX_PX) *w = yomite::RENDER_PAGE_MAX_PX;
  if (*h > yomite::RENDER_PAGE_MAX_PX) *h = yomite::RENDER_PAGE_MAX_PX;
}

int write_pages(const RenderArgs& args, yomite::ViewContext& view) {
  const char* path = args.output.c_str();
  int w = 0, h = 0;
  if (output_is_pdf(args.output)) {
    pdf_page_size(view, &w, &h);
    return yomite::render_pages_pdf(view, path, w, h) ? EXIT_DONE : cannot_write(args.output);
  }
  if (args.page > yomite::page_count(view))
    return fail("there is no page " + std::to_string(args.page) + " (the text has " +
                std::to_string(yomite::page_count(view)) + ")");
  tell_when_cut(args, view);
  shown_area(args, view, &w, &h);
  // Without --page, the line a J or R option put at the top is, as in the viewer.
  const int page = args.page_given || view.viewport.top_line == 0 ? args.page : 0;
  return yomite::render_page_png(view, page, path, w, h) ? EXIT_DONE : cannot_write(args.output);
}

// Characters printed each side of a match.
constexpr int FIND_WORDS_AROUND = 8;

// --find: every match as the viewer's search finds it.
void print_matches(const std::string& text, yomite::ViewContext& view) {
  const std::u16string pattern = yomite::utf8_to_u16string(text);
  const int per = std::max(view.settings.page_lines, 1);
  for (const yomite::TextRange& m :
       yomite::find_all(view.doc, yomite::make_search_pattern(pattern, yomite::SearchOptions{}))) {
    const std::u16string words = yomite::match_context(view.doc, m, FIND_WORDS_AROUND);
    std::printf("%d\t%d\t%s\n", m.line, m.line / per + 1,
                yomite::utf16_to_utf8(words.data(), words.size()).c_str());
  }
}

// --at: the display line of a place, or -1.
int place_line(const std::string& text, yomite::ViewContext& view) {
  yomite::TextAnchor anchor;
  if (!yomite::parse_anchor(text, anchor)) return -1;
  return yomite::find_anchor_line(view, anchor, 0);
}

// Every output the command line asks for, in a fixed order.
int write_outputs(RenderArgs& args, const RenderSession& session) {
  yomite::ViewContext& view = *session.view;
  if (args.dump_lines) dump_lines(view, stdout);
  if (args.dump_advances) dump_advances(view, stdout);
  if (!args.find.empty()) print_matches(args.find, view);
  if (!args.at.empty()) {
    const int line = place_line(args.at, view);
    if (line < 0) return fail("the text holds no place " + args.at);
    args.page = line / std::max(view.settings.page_lines, 1) + 1;
    if (args.output.empty()) std::printf("%d\t%d\n", line, args.page);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return fail(std::string("cannot write the output: ") + std::strerror(errno));
  return args.output.empty() ? EXIT_DONE : write_pages(args, view);
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  RenderArgs args = parse_render_args(argc, argv);
  if (!args.error.empty()) return fail(args.error + " (see --help)");
  if (args.help) {
    print_usage(stdout);
    return EXIT_DONE;
  }
  yomite::trace_init();
  RenderSession session;
  std::string error;
  const int opened = open_for_render(args, session, error);
  for (const std::string& warning : session.warnings) say(warning);
  const int status = opened ? write_outputs(args, session) : fail(error);
  close_render(session);
  yomite::trace_shutdown();
  return status;
}
