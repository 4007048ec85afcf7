// Handing a line of the full notation to the column layout.
#include <string>

#include "document/aozora.h"
#include "layout/indent.h"

namespace yomite {

namespace {

bool is_blank(char16_t u) {
  return u == u' ' || u == u'　';
}

// The heading's text for the table of contents, without the spaces around it.
std::u16string heading_text(const char16_t* text, int from, int to) {
  while (from < to && is_blank(text[from])) ++from;
  while (to > from && is_blank(text[to - 1])) --to;
  return std::u16string(text + from, static_cast<std::size_t>(to - from));
}

// One part of the line, [from, to), with the heading range made relative.
int lay_out_part(ViewContext& v, LayoutPass& pass, const char16_t* text, int from, int to,
                 std::uint16_t* codes, int has_codes, int quote_state, const NotationLine& out,
                 int foot) {
  LineIndent indent{out.indent, out.wrap, foot, out.heading_from - from, out.heading_to - from};
  int heading_line = -1;
  if (!break_indented_line(v, pass, text + from, to - from, codes + from, has_codes, quote_state,
                           indent, heading_line))
    return 0;
  if (heading_line >= 0 && out.heading_from >= from && out.heading_from < to) {
    std::u16string title = heading_text(text, out.heading_from, out.heading_to);
    if (!title.empty()) v.doc.headings.push_back({out.heading, title, heading_line});
  }
  return 1;
}

}  // namespace

int lay_out_notation_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                          std::uint16_t* codes, int has_codes, int quote_state,
                          const NotationLine& out) {
  NotationLine o = out;
  if (!o.heading) o.heading_from = o.heading_to = 0;
  int split = o.foot >= 0 ? o.foot_from : 0;
  if (split >= length) {
    split = 0;
    o.foot = -1;  // nothing follows the annotation: nothing to set at the foot
  }
  if (split > 0) {
    // Text before "［＃地付き］" ends its own column; the rest goes to the foot.
    if (!lay_out_part(v, pass, text, 0, split, codes, has_codes, quote_state, o, -1)) return 0;
    o.indent = o.wrap;
  }
  return lay_out_part(v, pass, text, split, length, codes, has_codes, quote_state, o, o.foot);
}

}  // namespace yomite
