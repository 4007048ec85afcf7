// Messages in the locale's character set, through iconv.
#include <iconv.h>
#include <langinfo.h>

#include <cstring>

#include "apps/yomiseal/console.h"

namespace yomite::seal {

std::string to_codeset(const std::string& utf8, const char* codeset) {
  if (!codeset || !*codeset || std::strcmp(codeset, "UTF-8") == 0) return utf8;
  iconv_t cd = iconv_open(codeset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out(utf8.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* o = out.data();
  std::size_t out_left = out.size();
  std::size_t done = iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1) || in_left != 0) return utf8;
  out.resize(out.size() - out_left);
  return out;
}

void say(std::FILE* out, const char* utf8) {
  std::string text = to_codeset(utf8, nl_langinfo(CODESET));
  std::fwrite(text.data(), 1, text.size(), out);
}

void say_bytes(std::FILE* out, const char* bytes, std::size_t n) {
  std::fwrite(bytes, 1, n, out);
}

}  // namespace yomite::seal
