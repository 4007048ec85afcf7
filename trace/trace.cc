#include "trace/trace.h"

#include <cstdarg>
#include <cstdio>

#include "platform/trace_sink.h"

namespace yomite {

namespace {
bool g_receiver = false;
}  // namespace

void trace_init() {
  if (!g_receiver) g_receiver = platform::trace_sink_connect();
}

void trace_shutdown() {
  if (g_receiver) platform::trace_sink_disconnect();
  g_receiver = false;
}

bool trace_enabled() {
  return g_receiver;
}

void trace(const char* format, ...) {
  if (!g_receiver) return;
  char text[TRACE_MAX_CHARS + 1];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  if (n > TRACE_MAX_CHARS) n = TRACE_MAX_CHARS;
  // A receiver that went away makes the send fail; nobody depends on delivery.
  platform::trace_sink_send(text, static_cast<unsigned>(n) + 1);
}

}  // namespace yomite
