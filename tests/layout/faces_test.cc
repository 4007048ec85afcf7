// Installed faces on the fake backend, which knows "ＭＳ ゴシック", "ＭＳ 明朝"
// and "ＭＳ Ｐゴシック".
#include <gtest/gtest.h>

#include <string>

#include "layout/fonts.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_trace.h"
#include "trace/trace.h"

namespace yomite {
namespace {

struct FaceCase {
  const char* list;
  const char* chosen;
};

TEST(FindInstalledFace, FirstInstalledPieceOrTheGothicFallback) {
  fake::reset_fonts();
  const FaceCase cases[] = {
      {"Foo;Bar", "ＭＳ ゴシック"},
      {"@Foo;Bar", "@ＭＳ ゴシック"},
      {"", "@ＭＳ ゴシック"},
      {"Foo;;ＭＳ 明朝", "ＭＳ 明朝"},
      {";;ＭＳ 明朝;ＭＳ ゴシック", "ＭＳ 明朝"},
      {"@ＭＳ 明朝;Foo", "@ＭＳ 明朝"},
      {"Foo;", "ＭＳ ゴシック"},
      {";", "ＭＳ ゴシック"},
  };
  for (const FaceCase& c : cases) {
    std::string list = c.list;
    find_installed_face(list);
    EXPECT_EQ(list, c.chosen) << c.list;
  }
}

TEST(FaceExists, AnswersAndTraces) {
  fake::reset_fonts();
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  EXPECT_EQ(face_exists("ＭＳ Ｐゴシック"), 1);
  EXPECT_EQ(face_exists("Foo"), 0);
  EXPECT_EQ(fake::trace_text(), "font ＭＳ Ｐゴシック 1  font Foo 0  ");
  trace_shutdown();
}

}  // namespace
}  // namespace yomite
