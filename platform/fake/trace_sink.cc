#include "platform/trace_sink.h"
#include "platform/fake/fake_trace.h"

namespace yomite {

namespace {
bool g_present = false;
}  // namespace

void fake::set_trace_receiver(bool present) {
  g_present = present;
}

std::vector<std::string>& fake::trace_messages() {
  static std::vector<std::string> messages;
  return messages;
}

std::string fake::trace_text() {
  std::string all;
  for (const std::string& m : trace_messages()) all += m;
  return all;
}

bool platform::trace_sink_connect() {
  return g_present;
}

void platform::trace_sink_disconnect() {}

void platform::trace_sink_send(const char* data, unsigned size) {
  fake::trace_messages().emplace_back(data, size ? size - 1 : 0);
}

}  // namespace yomite
