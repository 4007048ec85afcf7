// Drops files on a window the way a file manager does: the source side of
// the X drag-and-drop protocol (version 5), offering text/uri-list.
//
//   xdnd_drop WINDOW X Y FILE...    (X, Y: a point inside WINDOW)
//
// Exit status 0 when the window took the drop and said it finished.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int XDND_VERSION = 5;
constexpr int WAIT_MS = 5000;

struct Atoms {
  Atom aware, enter, position, status, drop, finished, selection, action_copy, uri_list;
};

Atoms atoms(Display* d) {
  return {XInternAtom(d, "XdndAware", False),      XInternAtom(d, "XdndEnter", False),
          XInternAtom(d, "XdndPosition", False),   XInternAtom(d, "XdndStatus", False),
          XInternAtom(d, "XdndDrop", False),       XInternAtom(d, "XdndFinished", False),
          XInternAtom(d, "XdndSelection", False),  XInternAtom(d, "XdndActionCopy", False),
          XInternAtom(d, "text/uri-list", False)};
}

void send(Display* d, Window to, Atom type, long l0, long l1, long l2, long l3, long l4) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = to;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  long data[5] = {l0, l1, l2, l3, l4};
  for (int i = 0; i < 5; ++i) e.xclient.data.l[i] = data[i];
  XSendEvent(d, to, False, NoEventMask, &e);
  XFlush(d);
}

// "file://" URIs with every byte outside the unreserved set escaped.
std::string file_uri(const char* path) {
  std::string uri = "file://";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
    if (std::isalnum(*p) || std::strchr("/-_.~", *p)) {
      uri += static_cast<char>(*p);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", *p);
      uri += hex;
    }
  }
  return uri;
}

// The next event, or false after WAIT_MS.
bool next_event(Display* d, XEvent* e) {
  if (XPending(d)) {
    XNextEvent(d, e);
    return true;
  }
  pollfd fd{ConnectionNumber(d), POLLIN, 0};
  if (poll(&fd, 1, WAIT_MS) <= 0) return false;
  XNextEvent(d, e);
  return true;
}

void answer_selection(Display* d, const XSelectionRequestEvent& r, const Atoms& a,
                      const std::string& uris) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = r.requestor;
  reply.xselection.selection = r.selection;
  reply.xselection.target = r.target;
  reply.xselection.time = r.time;
  reply.xselection.property = None;
  if (r.target == a.uri_list) {
    XChangeProperty(d, r.requestor, r.property, a.uri_list, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(uris.data()),
                    static_cast<int>(uris.size()));
    reply.xselection.property = r.property;
  }
  XSendEvent(d, r.requestor, False, NoEventMask, &reply);
  XFlush(d);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: xdnd_drop WINDOW X Y FILE...\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 2;
  const Atoms a = atoms(d);
  const Window target = std::strtoul(argv[1], nullptr, 0);
  std::string uris;
  for (int i = 4; i < argc; ++i) uris += file_uri(argv[i]) + "\r\n";

  Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, a.selection, source, CurrentTime);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, target, DefaultRootWindow(d), std::atoi(argv[2]), std::atoi(argv[3]),
                        &x, &y, &child);

  send(d, target, a.enter, static_cast<long>(source), XDND_VERSION << 24,
       static_cast<long>(a.uri_list), 0, 0);
  send(d, target, a.position, static_cast<long>(source), 0, (x << 16) | y, CurrentTime,
       static_cast<long>(a.action_copy));
  bool dropped = false;
  XEvent e;
  while (next_event(d, &e)) {
    if (e.type == SelectionRequest) {
      answer_selection(d, e.xselectionrequest, a, uris);
    } else if (e.type == ClientMessage && e.xclient.message_type == a.status && !dropped) {
      if (!(e.xclient.data.l[1] & 1)) {
        std::fprintf(stderr, "xdnd_drop: the window refused the drop\n");
        return 1;
      }
      send(d, target, a.drop, static_cast<long>(source), 0, CurrentTime, 0, 0);
      dropped = true;
    } else if (e.type == ClientMessage && e.xclient.message_type == a.finished) {
      XCloseDisplay(d);
      return 0;
    }
  }
  std::fprintf(stderr, "xdnd_drop: no answer from the window\n");
  return 1;
}
