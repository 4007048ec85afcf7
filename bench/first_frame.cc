// Times a window program as a person sees it: from starting it to its first
// painted frame on the screen, and optionally from a key press to the next
// change of the picture. The X server's pixels are polled every few
// microseconds at a few points of the window's area (top-left corner of the
// screen, where a window appears on a desktop without a window manager).
//
//   first_frame [--key KEYSYM] [--rows Y1,Y2,...] -- PROGRAM ARGS...
//
// Prints "first_frame_ms N", then "key_to_change_ms N" with --key, and
// "rss_kib N" (the program's resident memory once it has painted).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int ROW_WIDTH = 400;  // px of each polled row, from the left edge
constexpr int TIMEOUT_S = 60;

double ms_since(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The polled rows of the screen, as one string of pixels.
std::string rows(Display* d, const std::vector<int>& ys) {
  std::string out;
  for (int y : ys) {
    XImage* img = XGetImage(d, DefaultRootWindow(d), 0, y, ROW_WIDTH, 1, AllPlanes, ZPixmap);
    if (!img) continue;
    out.append(img->data, static_cast<std::size_t>(img->bytes_per_line));
    XDestroyImage(img);
  }
  return out;
}

// Polls until the rows differ from `before`; the time in ms, or -1.
double wait_change(Display* d, const std::vector<int>& ys, const std::string& before,
                   Clock::time_point start) {
  while (ms_since(start) < TIMEOUT_S * 1000.0) {
    if (rows(d, ys) != before) return ms_since(start);
    usleep(200);
  }
  return -1;
}

long rss_kib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, 6, "VmRSS:") == 0) return std::atol(line.c_str() + 6);
  return -1;
}

std::vector<int> parse_rows(const char* text) {
  std::vector<int> out;
  for (const char* p = text; *p;) {
    out.push_back(std::atoi(p));
    const char* comma = std::strchr(p, ',');
    if (!comma) break;
    p = comma + 1;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const char* key = nullptr;
  std::vector<int> ys = {40, 120, 200};
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--key") == 0 && i + 1 < argc) key = argv[++i];
    if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc) ys = parse_rows(argv[++i]);
  }
  if (i + 1 >= argc) {
    std::fprintf(stderr, "usage: first_frame [--key KEYSYM] [--rows Y,...] -- PROGRAM ARGS...\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 2;
  const std::string empty = rows(d, ys);
  const Clock::time_point start = Clock::now();
  pid_t child = fork();
  if (child == 0) {
    execv(argv[i + 1], argv + i + 1);
    _exit(127);
  }
  const double first = wait_change(d, ys, empty, start);
  std::printf("first_frame_ms %.1f\n", first);
  // The frame may still be completing: let it settle before the next step.
  usleep(500 * 1000);
  std::printf("rss_kib %ld\n", rss_kib(child));
  int status = 0;
  if (key && first >= 0) {
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(key));
    // Without a window manager the keyboard follows the pointer.
    XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, 100, 100);
    XSync(d, False);
    usleep(100 * 1000);
    const std::string before = rows(d, ys);
    const Clock::time_point pressed = Clock::now();
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    XFlush(d);
    std::printf("key_to_change_ms %.2f\n", wait_change(d, ys, before, pressed));
  }
  kill(child, SIGTERM);
  waitpid(child, &status, 0);
  XCloseDisplay(d);
  return first >= 0 ? 0 : 1;
}
