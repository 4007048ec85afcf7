// yomite-render: lays out a text file exactly as the viewer would, without a
// display, and writes what was laid out.
#include <clocale>
#include <cstdio>

#include "apps/yomite-render/dump_lines.h"
#include "apps/yomite-render/open_file.h"
#include "apps/yomite-render/render_args.h"
#include "platform/cairo/render_page.h"
#include "platform/headless/headless_window.h"
#include "trace/trace.h"

using namespace yomite::render;

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "yomite-render: %s\n", message.c_str());
  return EXIT_FAILED;
}

// The text area of the window the viewer would show: its client area less
// the scroll bar, or exactly --size.
void shown_area(const RenderArgs& args, const yomite::ViewContext& view, int* w, int* h) {
  if (args.width > 0) {
    *w = args.width;
    *h = args.height;
    return;
  }
  yomite::platform::window_client_size(view.hwnd, w, h);
  yomite::platform::SystemMeasures m{};
  yomite::platform::system_measures(&m);
  if (view.vertical)
    *h -= m.hscroll_height;
  else
    *w -= m.vscroll_width;
}

int write_pages(const RenderArgs& args, yomite::ViewContext& view) {
  const char* path = args.output.c_str();
  if (output_is_pdf(args.output))
    return yomite::render_pages_pdf(view, path) ? EXIT_DONE : fail("cannot write " + args.output);
  if (args.page > yomite::page_count(view))
    return fail("there is no page " + std::to_string(args.page) + " (the text has " +
                std::to_string(yomite::page_count(view)) + ")");
  int w = 0, h = 0;
  shown_area(args, view, &w, &h);
  return yomite::render_page_png(view, args.page, path, w, h) ? EXIT_DONE
                                                              : fail("cannot write " + args.output);
}

// Every output the command line asks for, in a fixed order.
int write_outputs(const RenderArgs& args, const RenderSession& session) {
  if (args.dump_lines) dump_lines(*session.view, stdout);
  if (std::fflush(stdout) != 0) return fail("cannot write the output");
  return args.output.empty() ? EXIT_DONE : write_pages(args, *session.view);
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
  if (!open_for_render(args, session, error)) return fail(error);
  int status = write_outputs(args, session);
  close_render(session);
  yomite::trace_shutdown();
  return status;
}
