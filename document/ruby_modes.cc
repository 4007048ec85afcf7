// Ruby readings left out, or set inline after their bases.
#include "document/ruby_modes.h"

#include "view/attr_codes.h"

namespace yomite {

bool rewrite_ruby(int mode, const char16_t* text, int length, const std::uint16_t* codes,
                  char16_t* const* readings, std::u16string& out_text,
                  std::vector<std::uint16_t>& out_codes, std::vector<int>* moved) {
  out_text.clear();
  out_codes.clear();
  if (moved) moved->assign(static_cast<std::size_t>(length) + 1, 0);
  bool marked = false;
  for (int i = 0; i < length;) {
    const std::uint16_t code = codes[i];
    if (!is_ruby_code(code)) {
      if (moved) (*moved)[static_cast<std::size_t>(i)] = static_cast<int>(out_text.size());
      out_text.push_back(text[i]);
      // A continuation without its head (the head was cut off) is plain too.
      out_codes.push_back(code == CONTINUATION_CODE ? CODE_PLAIN : code);
      marked |= code != CODE_PLAIN && code != CONTINUATION_CODE;
      ++i;
      continue;
    }
    int end = i + 1;
    while (end < length && codes[end] == CONTINUATION_CODE) ++end;
    for (; i < end; ++i) {
      if (moved) (*moved)[static_cast<std::size_t>(i)] = static_cast<int>(out_text.size());
      out_text.push_back(text[i]);
      out_codes.push_back(CODE_PLAIN);
    }
    const char16_t* reading = readings[code - RUBY_CODE_FIRST];
    if (mode != RUBY_INLINE || !reading || !*reading) continue;
    out_text.push_back(INLINE_RUBY_OPEN);
    out_text += reading;
    out_text.push_back(INLINE_RUBY_CLOSE);
    out_codes.resize(out_text.size(), CODE_PLAIN);
  }
  if (moved) (*moved)[static_cast<std::size_t>(length)] = static_cast<int>(out_text.size());
  return marked;
}

}  // namespace yomite
