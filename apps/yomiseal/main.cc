// yomiseal: turns a Shift_JIS text into a locked text, optionally bound to a
// password of 8 to 40 hex digits that it chooses and prints once.
#include <sys/stat.h>

#include <clocale>

#include "apps/yomiseal/run.h"

namespace {

int names_existing_file(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return yomite::seal::run_yomiseal(argc, argv, names_existing_file);
}
