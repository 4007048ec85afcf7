// Ruby display modes (an extension, view.settings.ruby_mode): a resolved
// line's readings are shown beside their bases (the standard layout), left
// out, or set inline in parentheses after their bases, so that a screen
// reader or text-to-speech reads them where they belong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yomite {

constexpr int RUBY_SHOW = 0;    // beside the base: the standard layout
constexpr int RUBY_HIDE = 1;    // the reading goes, the base is plain text
constexpr int RUBY_INLINE = 2;  // "base（reading）", all plain text
constexpr int RUBY_MODE_LAST = RUBY_INLINE;

// The brackets an inline reading stands in.
constexpr char16_t INLINE_RUBY_OPEN = u'（';
constexpr char16_t INLINE_RUBY_CLOSE = u'）';

// A resolved line rewritten for `mode` (RUBY_HIDE or RUBY_INLINE; the
// caller leaves RUBY_SHOW lines alone): ruby and continuation codes become
// plain, and with RUBY_INLINE each non-empty reading follows its base in
// parentheses. `readings` are the ruby entries the codes name. `moved`, when
// given, gets for every unit offset 0..length of the line its offset in the
// new text. Returns whether any code is left that is not plain.
bool rewrite_ruby(int mode, const char16_t* text, int length, const std::uint16_t* codes,
                  char16_t* const* readings, std::u16string& out_text,
                  std::vector<std::uint16_t>& out_codes, std::vector<int>* moved);

}  // namespace yomite
