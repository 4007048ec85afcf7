// The line-breaking character classes.
#include "layout/break.h"

namespace yomite {

namespace {

// Characters that may not begin a display line; the last three are the ASCII
// space, "…" and "‥".
constexpr char16_t LINE_START_FORBIDDEN[] =
    u"、。，．・？！゛゜ヽヾゝゞ々ー’）〕］｝〉》」』】､｡,.?!)]}｣･ｧｨｩｪｫｬｭｮｯｰﾞﾟ …‥";

// Characters that may not end a display line; the last is the apostrophe.
constexpr char16_t LINE_END_FORBIDDEN[] = u"（〔［｛〈《「『【([{｢'";

static_assert(sizeof LINE_START_FORBIDDEN / sizeof(char16_t) == 51 + 1);
static_assert(sizeof LINE_END_FORBIDDEN / sizeof(char16_t) == 14 + 1);

bool contains(const char16_t* list, char16_t c) {
  if (c == 0) return false;
  for (; *list; ++list)
    if (*list == c) return true;
  return false;
}

}  // namespace

int is_line_start_forbidden(char16_t c) {
  return contains(LINE_START_FORBIDDEN, c);
}

int is_line_end_forbidden(char16_t c) {
  return contains(LINE_END_FORBIDDEN, c);
}

int is_pair_char(char16_t c) {
  return c < 128 && ((c >= u'0' && c <= u'9') || c == u'!' || c == u'?');
}

int is_ascii_char(char16_t c) {
  return c >= 1 && c <= 127;
}

void find_upright_pairs(const char16_t* text, int length, std::uint8_t* pair_start) {
  for (int i = 0; i < length; ++i) pair_start[i] = 0;
  for (int i = 0; i < length;) {
    bool pair = (i == 0 || !is_ascii_char(text[i - 1])) && is_pair_char(text[i]) &&
                i + 1 < length && is_pair_char(text[i + 1]) &&
                (i + 2 >= length || !is_ascii_char(text[i + 2]));
    if (pair) {
      pair_start[i] = 1;
      i += 3;
    } else {
      i += 1;
    }
  }
}

}  // namespace yomite
