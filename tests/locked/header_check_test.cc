// The viewer's header check: recognising a locked text, the password prompt,
// the remembered password, probe mode and the refused flag.
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "locked/locked.h"
#include "platform/fake/fake_password_prompt.h"
#include "platform/fake/fake_trace.h"
#include "tests/locked/locked_test_util.h"
#include "tests/temp_dir.h"
#include "trace/trace.h"
#include "view/view_context.h"

namespace yomite {
namespace {

using fake::PromptAnswer;
const std::string KEY = test::SAMPLE_KEY;  // starts 0A1B2C3D4E5F...

class HeaderCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_locked_state();
    fake::script_password_prompt({});
    fake::set_trace_receiver(true);
    trace_init();
    fake::trace_messages().clear();
    dir_ = std::make_unique<test::TempDir>();
    ASSERT_FALSE(dir_->path.empty());
    view_.doc.file_name = dir_->file("text.lkd");
  }
  void TearDown() override {
    dir_.reset();
    trace_shutdown();
  }
  // Writes a header for KEY hiding `digits` characters, and a body.
  void write_text(int digits) {
    test::write_file(view_.doc.file_name, test::seal_string("本文\n", KEY.c_str(), digits));
  }

  std::unique_ptr<test::TempDir> dir_;
  ViewContext view_;
};

TEST_F(HeaderCheck, TextWithoutPasswordIsAcceptedWithoutPrompt) {
  write_text(0);
  int ango = check_locked_header(view_, 0);
  EXPECT_EQ(ango, key_ango(KEY.c_str()));
  EXPECT_EQ(current_ango(), ango);
  EXPECT_EQ(std::string(current_key_string()), KEY);
  EXPECT_EQ(view_.doc.locked, 1);
  EXPECT_EQ(fake::password_prompts_shown(), 0);
  EXPECT_NE(fake::trace_text().find("ango=" + std::to_string(ango) + " "), std::string::npos);
}

TEST_F(HeaderCheck, PlainTextsAreNotLocked) {
  // Missing file, short file, the magic with a version byte other than '1'.
  EXPECT_EQ(check_locked_header(view_, 0), 0);
  test::write_file(view_.doc.file_name, test::seal_string("", KEY.c_str(), 0).substr(0, 255));
  EXPECT_EQ(check_locked_header(view_, 0), 0);
  std::string file = test::seal_string("a\n", KEY.c_str(), 12);
  file[LOCKED_VERSION_OFFSET] = '2';
  test::write_file(view_.doc.file_name, file);
  EXPECT_EQ(check_locked_header(view_, 0), 0);
  EXPECT_EQ(view_.doc.locked, 0);
  EXPECT_EQ(locked_refused(), 0);
  EXPECT_EQ(fake::password_prompts_shown(), 0);
}

TEST_F(HeaderCheck, RightAnswerCompletesTheKey) {
  write_text(12);
  fake::script_password_prompt({{1, KEY.substr(0, 12)}});
  EXPECT_EQ(check_locked_header(view_, 0), key_ango(KEY.c_str()));
  EXPECT_EQ(std::string(current_key_string()), KEY);
  EXPECT_EQ(fake::password_prompts_shown(), 1);
  EXPECT_NE(fake::trace_text().find("password 桁=12\n"), std::string::npos);
}

TEST_F(HeaderCheck, WrongAnswersAskAgain) {
  write_text(8);  // password "0A1B2C3D"
  fake::script_password_prompt({
      {1, "0A1B2C3"},    // too short
      {1, "0A1B2C3D "},  // trailing blank: too long
      {1, "0A1B2C3E"},   // one digit off
      {1, "0A1B2C3D"},
  });
  EXPECT_EQ(check_locked_header(view_, 0), key_ango(KEY.c_str()));
  EXPECT_EQ(fake::password_prompts_shown(), 4);
  std::string text = fake::trace_text();
  std::size_t bad_len = 0;
  for (std::size_t at = 0; (at = text.find("bad len ", at)) != std::string::npos; ++at) ++bad_len;
  EXPECT_EQ(bad_len, 2u);
}

TEST_F(HeaderCheck, CancelOrNoDialogRefuses) {
  for (int result : {0, -1}) {
    reset_locked_state();
    view_.doc.locked = 0;
    write_text(8);
    fake::script_password_prompt({{1, "00000000"}, {result, ""}});
    EXPECT_EQ(check_locked_header(view_, 0), 0) << result;
    EXPECT_EQ(locked_refused(), 1);
    EXPECT_EQ(view_.doc.locked, 1);
    EXPECT_EQ(current_ango(), 0);
    EXPECT_EQ(fake::password_prompts_shown(), 2);
  }
}

// The prompt names the file and, after a wrong answer, says it was wrong;
// the hexadecimal digits count in either case.
TEST_F(HeaderCheck, ThePromptNamesTheFileAndSaysWhenAnAnswerWasWrong) {
  write_text(8);
  fake::script_password_prompt({{1, "00000000"}, {1, "0a1b2c3d"}});
  EXPECT_EQ(check_locked_header(view_, 0), key_ango(KEY.c_str()));
  ASSERT_EQ(fake::password_prompt_messages().size(), 2u);
  EXPECT_EQ(fake::password_prompt_messages()[0], "「text.lkd」のパスワード(&P):");
  EXPECT_EQ(fake::password_prompt_messages()[1], "パスワードが違います\n「text.lkd」のパスワード(&P):");
  EXPECT_EQ(remembered_password(), "0A1B2C3D");
  EXPECT_EQ(view_.viewport.modal, 0);
}

TEST_F(HeaderCheck, RememberedPasswordIsTriedFirstOnReload) {
  write_text(8);
  fake::script_password_prompt({{1, "0A1B2C3D"}});
  ASSERT_NE(check_locked_header(view_, 0), 0);
  fake::script_password_prompt({});
  EXPECT_NE(check_locked_header(view_, 0), 0);
  EXPECT_EQ(fake::password_prompts_shown(), 0);
  EXPECT_EQ(remembered_password(), "0A1B2C3D");
}

TEST_F(HeaderCheck, WrongRememberedPasswordStillAsks) {
  write_text(8);
  fake::script_password_prompt({{1, "0A1B2C3D"}});
  ASSERT_NE(check_locked_header(view_, 0), 0);
  // Another text: the remembered answer is tried first and fails for its
  // length; a result other than OK or cancel tries it again unchanged.
  write_text(12);
  fake::script_password_prompt({{2, ""}, {1, KEY.substr(0, 12)}});
  EXPECT_NE(check_locked_header(view_, 0), 0);
  EXPECT_EQ(fake::password_prompts_shown(), 2);
  std::string text = fake::trace_text();
  EXPECT_NE(text.find("bad len bad len "), std::string::npos);
}

TEST_F(HeaderCheck, ProbeNeverPrompts) {
  write_text(12);
  int ango = check_locked_header(view_, 1);
  std::string stand_in = std::string(12, '1') + KEY.substr(12);
  EXPECT_EQ(ango, key_ango(stand_in.c_str()));
  EXPECT_EQ(std::string(current_key_string()), stand_in);
  EXPECT_EQ(fake::password_prompts_shown(), 0);
  EXPECT_EQ(locked_refused(), 0);
}

TEST_F(HeaderCheck, AtMostFortyDigitsAreAskedFor) {
  std::string file = test::seal_string("a\n", KEY.c_str(), 40);
  std::memset(file.data() + LOCKED_KEY_OFFSET + 40, 'x', 5);
  test::write_file(view_.doc.file_name, file);
  fake::script_password_prompt({{1, KEY.substr(0, 45)}, {1, KEY.substr(0, 40)}});
  EXPECT_NE(check_locked_header(view_, 0), 0);
  EXPECT_EQ(fake::password_prompts_shown(), 2);
  EXPECT_EQ(std::string(current_key_string()), KEY.substr(0, 40) + "xxxxx" + KEY.substr(45));
  EXPECT_NE(fake::trace_text().find("password 桁=40\n"), std::string::npos);
}

TEST_F(HeaderCheck, GivesUpAfter101Prompts) {
  write_text(8);
  std::vector<PromptAnswer> wrong(150, PromptAnswer{1, "12345678"});
  fake::script_password_prompt(wrong);
  EXPECT_EQ(check_locked_header(view_, 0), 0);
  EXPECT_EQ(fake::password_prompts_shown(), PASSWORD_MAX_PROMPTS);
  EXPECT_EQ(locked_refused(), 1);
}

TEST_F(HeaderCheck, LongAnswersAreCutToEightyBytes) {
  write_text(8);
  fake::script_password_prompt({{1, std::string(100, 'A')}, {0, ""}});
  check_locked_header(view_, 0);
  EXPECT_EQ(remembered_password(), std::string(80, 'A'));
}

TEST_F(HeaderCheck, BodyStartTracesTheRandomTerm) {
  write_text(0);
  int ango = check_locked_header(view_, 0);
  TextStream in;
  ASSERT_TRUE(stream_open(in, view_.doc.file_name.c_str()));
  EXPECT_EQ(test::read_body(in, ango), std::vector<std::string>{"本文"});
  stream_close(in);
  EXPECT_NE(fake::trace_text().find("rand=" + std::to_string(key_random_term(ango)) + " "),
            std::string::npos);
}

}  // namespace
}  // namespace yomite
