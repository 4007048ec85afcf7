#include "document/brace_directives.h"

#include <algorithm>
#include <string>

#include "decode/decode.h"
#include "document/markup.h"
#include "layout/fonts.h"
#include "view/limits.h"

namespace yomite::markup {

namespace {

constexpr std::u16string_view FONT_OPEN = u"｛フォント ";
constexpr std::u16string_view WIDTH_OPEN = u"｛幅 ";

// The face list as UTF-8, at most DIRECTIVE_FACE_BYTES bytes, never ending
// inside a character.
std::string face_list_utf8(const Line& line, int from, int to) {
  std::string name = utf16_to_utf8(line.text + from, static_cast<std::size_t>(to - from));
  if (name.size() > DIRECTIVE_FACE_BYTES) {
    std::size_t cut = DIRECTIVE_FACE_BYTES;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return name;
}

void read_font_directive(const Line& line, int at, ViewContext& view, int store) {
  int from = at + static_cast<int>(FONT_OPEN.size());
  int end = from;
  while (end < line.length && line.text[end] != u',' && line.text[end] != u'｝') ++end;
  if (end > from && store && view.settings.face_name.empty()) {
    std::string face = face_list_utf8(line, from, end);
    find_installed_face(face);
    view.settings.face_name = face;
    view.typeset.vertical = !face.empty() && face[0] == '@' ? 1 : 0;
  }
  if (end < line.length && line.text[end] == u',' && store && view.settings.font_size == 0)
    view.settings.font_size = clamp_font_size(read_number(line, end + 1));
}

void read_width_directive(const Line& line, int at, ViewContext& view, int store) {
  int width = read_number(line, at + static_cast<int>(WIDTH_OPEN.size()));
  if (store && view.settings.column_chars == 0)
    view.settings.column_chars =
        width < DIRECTIVE_WIDTH_MIN ? DIRECTIVE_WIDTH_DEFAULT : clamp_column_chars(width);
}

}  // namespace

int read_number(const Line& line, int from) {
  int at = from;
  while (at < line.length && line.text[at] == u' ') ++at;
  int sign = 1;
  if (at < line.length && (line.text[at] == u'+' || line.text[at] == u'-'))
    sign = line.text[at++] == u'-' ? -1 : 1;
  int value = 0;
  for (; at < line.length && line.text[at] >= u'0' && line.text[at] <= u'9'; ++at)
    value = std::min(DIRECTIVE_NUMBER_MAX, value * 10 + (line.text[at] - u'0'));
  return sign * value;
}

int read_directives(const Line& line, ViewContext& view, int store) {
  int found = 0;
  int at = find(line, 0, FONT_OPEN);
  if (at >= 0) {
    read_font_directive(line, at, view, store);
    found = 1;
  }
  at = find(line, 0, WIDTH_OPEN);
  if (at >= 0) {
    read_width_directive(line, at, view, store);
    found = 1;
  }
  return found;
}

}  // namespace yomite::markup
