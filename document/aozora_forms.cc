// Reading the text of an annotation: the forms of the e-text library's list.
// Emphasis maps onto the marks the painter has: the sesame dots (16) and the
// round dot (17) for the kinds of marks, "on the left" forms the same; each
// side line has a code of its own, and another on the left.
#include <array>
#include <string_view>

#include "document/aozora.h"
#include "document/aozora_forms.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

using std::u16string_view;

struct Style {
  u16string_view name;
  std::uint16_t code;
};

// Longer names first where one ends another ("白ゴマ傍点" before "傍点").
constexpr std::array<Style, 14> STYLES = {{
    {u"白ゴマ傍点", 16},
    {u"白丸傍点", 17},
    {u"丸傍点", 17},
    {u"黒三角傍点", 17},
    {u"白三角傍点", 17},
    {u"二重丸傍点", 17},
    {u"蛇の目傍点", 17},
    {u"ばつ傍点", 17},
    {u"傍点", 16},
    {u"二重傍線", CODE_NAMED_LINE_FIRST + 1},
    {u"傍線", CODE_NAMED_LINE_FIRST},
    {u"鎖線", CODE_NAMED_LINE_FIRST + 2},
    {u"破線", CODE_NAMED_LINE_FIRST + 3},
    {u"波線", CODE_NAMED_LINE_FIRST + 4},
}};

// A style on the text's other side: a side line has a code of its own.
std::uint16_t on_the_left(std::uint16_t code) {
  return is_named_line_code(code) ? static_cast<std::uint16_t>(code + NAMED_LINE_KINDS) : code;
}

struct Level {
  u16string_view name;
  int level;
};

constexpr std::array<Level, 3> LEVELS = {{
    {u"大見出し", HEADING_LARGE},
    {u"中見出し", HEADING_MEDIUM},
    {u"小見出し", HEADING_SMALL},
}};

// Run-in (同行) and window (窓) headings are set as plain ones.
constexpr std::array<u16string_view, 3> HEADING_KINDS = {u"", u"同行", u"窓"};

constexpr std::array<u16string_view, 4> PAGE_BREAKS = {u"改ページ", u"改丁", u"改段", u"改見開き"};

// Tags whose text stays plain: bold, italics (the face has neither), warichu
// (set inline) and the line break inside a warichu.
constexpr std::array<u16string_view, 11> REMOVED = {
    u"太字",   u"太字終わり",   u"ここから太字", u"ここで太字終わり",
    u"斜体",   u"斜体終わり",   u"ここから斜体", u"ここで斜体終わり",
    u"割り注", u"割り注終わり", u"改行"};

bool starts_with(u16string_view s, u16string_view p) {
  return s.size() >= p.size() && s.substr(0, p.size()) == p;
}

bool ends_with(u16string_view s, u16string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

bool take_prefix(u16string_view& s, u16string_view p) {
  if (!starts_with(s, p)) return false;
  s.remove_prefix(p.size());
  return true;
}

bool take_suffix(u16string_view& s, u16string_view p) {
  if (!ends_with(s, p)) return false;
  s.remove_suffix(p.size());
  return true;
}

int digit_value(char16_t u) {
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'０' && u <= u'９') return u - u'０';
  return -1;
}

// The whole of `s` as a number of cells (ASCII or full-width digits); -1
// when it is anything else.
int cells_of(u16string_view s) {
  if (s.empty()) return -1;
  int n = 0;
  for (char16_t u : s) {
    if (digit_value(u) < 0) return -1;
    n = n * 10 + digit_value(u);
    if (n > NOTATION_CELLS_MAX) n = NOTATION_CELLS_MAX;
  }
  return n;
}

// "N字下げ" -> N, or -1.
int indent_cells(u16string_view s) {
  return take_suffix(s, u"字下げ") ? cells_of(s) : -1;
}

// "地付き" -> 0, "地からN字上げ" -> N, or -1.
int foot_cells(u16string_view s) {
  if (s == u"地付き") return 0;
  if (!take_prefix(s, u"地から") || !take_suffix(s, u"字上げ")) return -1;
  return cells_of(s);
}

const Style* style_named(u16string_view s) {
  for (const Style& st : STYLES)
    if (s == st.name) return &st;
  return nullptr;
}

// "［＃「X」に傍点］", "［＃「X」の左に傍線］" ...
bool target_style(u16string_view body, Form& f) {
  if (!take_prefix(body, u"「")) return false;
  for (const Style& st : STYLES) {
    for (u16string_view joint : {u16string_view(u"」に"), u16string_view(u"」の左に")}) {
      u16string_view x = body;
      if (!take_suffix(x, st.name) || !take_suffix(x, joint)) continue;
      const bool left = joint.size() > 2;
      f = {FORM_STYLE, left ? on_the_left(st.code) : st.code, 0, 0, 0, x};
      return true;
    }
  }
  return false;
}

// "傍点" / "左に傍点" and their "終わり"; a warichu is set like a style, in
// the ruby font.
bool block_style(u16string_view body, Form& f) {
  if (body == u"割り注" || body == u"割り注終わり") {
    f = {body == u"割り注" ? FORM_STYLE_OPEN : FORM_STYLE_CLOSE, CODE_WARICHU, 0, 0, 0, {}};
    return true;
  }
  const bool left = take_prefix(body, u"左に");
  bool close = take_suffix(body, u"終わり");
  const Style* st = style_named(body);
  if (!st) return false;
  const std::uint16_t code = left ? on_the_left(st->code) : st->code;
  f = {close ? FORM_STYLE_CLOSE : FORM_STYLE_OPEN, code, 0, 0, 0, {}};
  return true;
}

// "N段階小さな文字" -> CODE_SMALLER, "N段階大きな文字" -> CODE_LARGER (every
// number of steps is one step), or 0.
std::uint16_t size_code(u16string_view s) {
  std::uint16_t code = 0;
  if (take_suffix(s, u"段階小さな文字"))
    code = CODE_SMALLER;
  else if (take_suffix(s, u"段階大きな文字"))
    code = CODE_LARGER;
  return cells_of(s) > 0 ? code : 0;
}

// "「X」はN段階小さな文字", "N段階小さな文字" … "小さな文字終わり", "ここから
// N段階小さな文字" … "ここで小さな文字終わり", and the same of 大きな文字.
bool text_size(u16string_view body, Form& f) {
  u16string_view x = body;
  if (take_prefix(x, u"「")) {
    const std::size_t joint = x.rfind(u"」は");
    if (joint == u16string_view::npos || !size_code(x.substr(joint + 2))) return false;
    f = {FORM_STYLE, size_code(x.substr(joint + 2)), 0, 0, 0, x.substr(0, joint)};
    return true;
  }
  if (body == u"小さな文字終わり" || body == u"大きな文字終わり") {
    f = {FORM_STYLE_CLOSE, body[0] == u'小' ? CODE_SMALLER : CODE_LARGER, 0, 0, 0, {}};
    return true;
  }
  if (body == u"ここで小さな文字終わり" || body == u"ここで大きな文字終わり") {
    f = {FORM_SIZE_BLOCK_END, 0, 0, 0, 0, {}};
    return true;
  }
  const bool block = take_prefix(x, u"ここから");
  const std::uint16_t code = size_code(x);
  if (!code) return false;
  f = {block ? FORM_SIZE_BLOCK : FORM_STYLE_OPEN, code, 0, 0, 0, {}};
  return true;
}

// "中見出し", "同行中見出し", "窓中見出し" -> the level, or 0.
int heading_level(u16string_view s) {
  for (u16string_view kind : HEADING_KINDS) {
    u16string_view rest = s;
    if (!take_prefix(rest, kind)) continue;
    for (const Level& l : LEVELS)
      if (rest == l.name) return l.level;
  }
  return 0;
}

bool heading(u16string_view body, Form& f) {
  u16string_view x = body;
  if (take_prefix(x, u"「")) {
    std::size_t joint = x.rfind(u"」は");
    if (joint != u16string_view::npos && heading_level(x.substr(joint + 2))) {
      f = {FORM_HEADING, 0, heading_level(x.substr(joint + 2)), 0, 0, x.substr(0, joint)};
      return true;
    }
    return false;
  }
  x = body;
  if (take_prefix(x, u"ここから") && heading_level(x)) {
    f = {FORM_HEADING_BLOCK, 0, heading_level(x), 0, 0, {}};
    return true;
  }
  x = body;
  if (take_prefix(x, u"ここで") && take_suffix(x, u"終わり") && heading_level(x)) {
    f = {FORM_HEADING_BLOCK_END, 0, heading_level(x), 0, 0, {}};
    return true;
  }
  x = body;
  bool close = take_suffix(x, u"終わり");
  if (!heading_level(x)) return false;
  f = {close ? FORM_HEADING_CLOSE : FORM_HEADING_OPEN, 0, heading_level(x), 0, 0, {}};
  return true;
}

// "ここからN字下げ", "ここからN字下げ、折り返してM字下げ",
// "ここから改行天付き、折り返してN字下げ".
bool indent_block(u16string_view body, Form& f) {
  if (!take_prefix(body, u"ここから")) return false;
  u16string_view first = body, wrap;
  std::size_t comma = body.find(u"、折り返して");
  if (comma != u16string_view::npos) {
    first = body.substr(0, comma);
    wrap = body.substr(comma + 6);
  }
  int n = first == u"改行天付き" ? 0 : indent_cells(first);
  int m = wrap.empty() ? n : indent_cells(wrap);
  if (n < 0 || m < 0) return false;
  f = {FORM_INDENT_BLOCK, 0, 0, n, m, {}};
  return true;
}

Form layout_form(u16string_view body) {
  Form f;
  int n;
  if ((n = indent_cells(body)) >= 0) return {FORM_INDENT, 0, 0, n, n, {}};
  if (indent_block(body, f)) return f;
  if (body == u"ここで字下げ終わり") return {FORM_INDENT_BLOCK_END, 0, 0, 0, 0, {}};
  if ((n = foot_cells(body)) >= 0) return {FORM_FOOT, 0, 0, n, 0, {}};
  u16string_view rest = body;
  if (take_prefix(rest, u"ここから") && (n = foot_cells(rest)) >= 0)
    return {FORM_FOOT_BLOCK, 0, 0, n, 0, {}};
  if (body == u"ここで地付き終わり" || body == u"ここで字上げ終わり")
    return {FORM_FOOT_BLOCK_END, 0, 0, 0, 0, {}};
  for (u16string_view page : PAGE_BREAKS)
    if (body == page) return {FORM_PAGE_BREAK, 0, 0, 0, 0, {}};
  if (body == u"ページの左右中央") return {FORM_CENTRE_PAGE, 0, 0, 0, 0, {}};
  return f;
}

}  // namespace

Form classify_annotation(u16string_view body) {
  Form f;
  if (target_style(body, f) || block_style(body, f) || heading(body, f) || text_size(body, f))
    return f;
  for (u16string_view tag : REMOVED)
    if (body == tag) return {FORM_REMOVED, 0, 0, 0, 0, {}};
  u16string_view x = body;
  if (take_prefix(x, u"「") && (take_suffix(x, u"」は太字") || take_suffix(x, u"」は斜体")))
    return {FORM_REMOVED, 0, 0, 0, 0, {}};
  return layout_form(body);
}

}  // namespace yomite
