// yomite-render: lays out a text file exactly as the viewer would, without a
// display, and writes what was laid out.
#include <clocale>
#include <cstdio>

#include "apps/yomite-render/dump_lines.h"
#include "apps/yomite-render/open_file.h"
#include "apps/yomite-render/render_args.h"
#include "trace/trace.h"

using namespace yomite::render;

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "yomite-render: %s\n", message.c_str());
  return EXIT_FAILED;
}

// Every output the command line asks for, in a fixed order.
int write_outputs(const RenderArgs& args, const RenderSession& session) {
  if (args.dump_lines) dump_lines(*session.view, stdout);
  return std::fflush(stdout) == 0 ? EXIT_DONE : fail("cannot write the output");
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
