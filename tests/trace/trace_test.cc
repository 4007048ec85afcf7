// The trace operation over the recording sink.
#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_trace.h"
#include "trace/trace.h"

namespace yomite {
namespace {

TEST(Trace, NothingWithoutAReceiver) {
  fake::set_trace_receiver(false);
  trace_shutdown();
  trace_init();
  fake::trace_messages().clear();
  trace("kanji=%d ", 2);
  EXPECT_FALSE(trace_enabled());
  EXPECT_TRUE(fake::trace_messages().empty());
}

TEST(Trace, FormatsAndSendsBytesUnchanged) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  trace("password \x8C\x85=%d\n", 8);  // Shift_JIS bytes in the format
  trace("%x %5d|%-3s|%c", 0xABu, 42, "ab", 'z');
  ASSERT_EQ(fake::trace_messages().size(), 2u);
  EXPECT_EQ(fake::trace_messages()[0], "password \x8C\x85=8\n");
  EXPECT_EQ(fake::trace_messages()[1], "ab    42|ab |z");
  trace_shutdown();
}

TEST(Trace, LongMessagesAreCutAt1024Characters) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  std::string long_text(5000, 'x');
  trace("[%s]", long_text.c_str());
  ASSERT_EQ(fake::trace_messages().size(), 1u);
  EXPECT_EQ(fake::trace_messages()[0].size(), 1024u);
  trace_shutdown();
}

TEST(Trace, ALaterReceiverIsNotNoticedUntilTheNextStart) {
  fake::set_trace_receiver(false);
  trace_shutdown();
  trace_init();
  fake::set_trace_receiver(true);
  fake::trace_messages().clear();
  trace("x");
  EXPECT_TRUE(fake::trace_messages().empty());
}

}  // namespace
}  // namespace yomite
