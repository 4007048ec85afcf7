// yomiseal's command line: options with "-" or "/", absolute paths, the
// password length, and messages in the locale's character set.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/yomiseal/cli.h"
#include "apps/yomiseal/console.h"

namespace yomite::seal {
namespace {

int only_p12_exists(const char* path) {
  return std::strcmp(path, "/P12") == 0;
}

struct ArgsCase {
  std::vector<const char*> args;
  const char* source;
  const char* dest;
  int digits;
  const char* refused = nullptr;  // the -P refused for a length outside 8..40
};

TEST(SealArgs, OptionsFilesAndPasswordLength) {
  const ArgsCase cases[] = {
      {{}, nullptr, nullptr, 0},
      {{"a"}, "a", nullptr, 0},
      {{"a", "b", "c"}, "a", "b", 0},
      {{"-P12", "a", "b"}, "a", "b", 12},
      {{"a", "/p12", "b"}, "a", "b", 12},
      {{"-p", "a", "b"}, "a", "b", 0},
      {{"-P0", "a", "b"}, "a", "b", 0},
      {{"-P8", "a", "b"}, "a", "b", 8},
      {{"-P40", "a", "b"}, "a", "b", 40},
      {{"-P  +9x", "a", "b"}, "a", "b", 9},
      // a length the format cannot hold is refused, never bent into another
      {{"-P-5", "a", "b"}, "a", "b", 0, "-P-5"},
      {{"-P1", "a", "b"}, "a", "b", 0, "-P1"},
      {{"-P7", "a", "b"}, "a", "b", 0, "-P7"},
      {{"-P41", "a", "b"}, "a", "b", 0, "-P41"},
      {{"-P12345678", "a", "b"}, "a", "b", 0, "-P12345678"},
      {{"-P99999999999999", "a", "b"}, "a", "b", 0, "-P99999999999999"},
      {{"-P-99999999999999", "a", "b"}, "a", "b", 0, "-P-99999999999999"},
      {{"-P12", "-P3", "a", "b"}, "a", "b", 0, "-P3"},  // a later -P wins
      {{"-P3", "-P12", "a", "b"}, "a", "b", 12},
      {{"-X", "/Q", "-", "a", "b"}, "a", "b", 0},  // other letters are ignored
      {{"/home/me/a.txt", "/tmp/b"}, "/home/me/a.txt", "/tmp/b", 0},
      {{"/P12", "b"}, "/P12", "b", 0},  // an existing file named like an option
      {{"/x12", "/y"}, nullptr, nullptr, 0},
  };
  for (const ArgsCase& c : cases) {
    std::vector<char*> argv{const_cast<char*>("yomiseal")};
    std::string shown;
    for (const char* a : c.args) {
      argv.push_back(const_cast<char*>(a));
      shown += std::string(a) + " ";
    }
    SealArgs a = parse_seal_args(static_cast<int>(argv.size()), argv.data(), only_p12_exists);
    EXPECT_STREQ(a.source, c.source) << shown;
    EXPECT_STREQ(a.dest, c.dest) << shown;
    EXPECT_EQ(a.digits, c.digits) << shown;
    EXPECT_STREQ(a.refused_option, c.refused) << shown;
  }
}

TEST(SealArgs, HelpAndVersion) {
  char* argv[] = {const_cast<char*>("yomiseal"), const_cast<char*>("--help"),
                  const_cast<char*>("--version")};
  SealArgs a = parse_seal_args(3, argv, only_p12_exists);
  EXPECT_EQ(a.help, 1);
  EXPECT_EQ(a.version, 1);
  EXPECT_EQ(a.source, nullptr);
}

#if defined(_WIN32)
TEST(SealMessages, ConvertedToTheConsoleCodePage) {
  EXPECT_EQ(to_code_page(" を使用できません\n", 932),
            "\x20\x82\xf0\x8e\x67\x97\x70\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x0a");
  EXPECT_EQ(to_code_page("パスワード", 65001), "パスワード");
  // A code page that cannot hold the text keeps UTF-8.
  EXPECT_EQ(to_code_page("パスワード", 1252), "パスワード");
  EXPECT_EQ(to_code_page("password", 1252), "password");
}
#else
TEST(SealMessages, ConvertedToTheLocaleCodeset) {
  EXPECT_EQ(to_codeset(" を使用できません\n", "SHIFT_JIS"),
            "\x20\x82\xf0\x8e\x67\x97\x70\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x0a");
  EXPECT_EQ(to_codeset(" を使用できません\n", "EUC-JP"),
            "\x20\xa4\xf2\xbb\xc8\xcd\xd1\xa4\xc7\xa4\xad\xa4\xde\xa4\xbb\xa4\xf3\x0a");
  EXPECT_EQ(to_codeset("パスワード", "UTF-8"), "パスワード");
  // A codeset that cannot hold the text, or an unknown one, keeps UTF-8.
  EXPECT_EQ(to_codeset("パスワード", "ANSI_X3.4-1968"), "パスワード");
  EXPECT_EQ(to_codeset("パスワード", "NO-SUCH-CODESET"), "パスワード");
}
#endif

}  // namespace
}  // namespace yomite::seal
