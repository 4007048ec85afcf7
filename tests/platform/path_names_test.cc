// Names inside paths of either system: the last component, the folder before
// it, and whether a path stands on its own.
#include "platform/path_names.h"

#include <gtest/gtest.h>

namespace yomite::platform {
namespace {

TEST(PathNames, LastComponentAfterEitherSeparatorOrADrive) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
  } cases[] = {
      {"/home/a/book.txt", "book.txt", "/home/a/"},
      {"C:\\Users\\a\\本.txt", "本.txt", "C:\\Users\\a\\"},
      {"C:/mixed\\slashes/x.txt", "x.txt", "C:/mixed\\slashes/"},
      {"C:book.txt", "book.txt", "C:"},
      {"book.txt", "book.txt", ""},
      {"/", "", "/"},
      {"dir/", "", "dir/"},
      {"", "", ""},
      {"1:not-a-drive", "1:not-a-drive", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file_name_part(c.path), c.name) << c.path;
    EXPECT_EQ(directory_part(c.path), c.folder) << c.path;
  }
}

TEST(PathNames, AbsoluteWithARootOrADriveAndARoot) {
  EXPECT_TRUE(is_absolute_path("/etc/passwd"));
  EXPECT_TRUE(is_absolute_path("\\\\server\\share\\a.txt"));
  EXPECT_TRUE(is_absolute_path("C:\\a.txt"));
  EXPECT_TRUE(is_absolute_path("z:/a.txt"));
  EXPECT_FALSE(is_absolute_path("C:a.txt"));  // relative to the drive's own folder
  EXPECT_FALSE(is_absolute_path("a/b.txt"));
  EXPECT_FALSE(is_absolute_path(""));
}

}  // namespace
}  // namespace yomite::platform
