#include "apps/yomite-render/dump_advances.h"

#include <string>
#include <vector>

#include "apps/yomite-render/dump_lines.h"
#include "decode/utf16.h"
#include "layout/break.h"
#include "layout/paint.h"

namespace yomite::render {

namespace {

std::string advances_of(ViewContext& v, MeasureContext& measure, int index, int& natural,
                        std::vector<int>& adv) {
  const DisplayLine& line = v.doc.lines[index];
  const char16_t* text = line_text(v.doc, line);
  const int n = line_length(v.doc, line);
  adv.assign(static_cast<std::size_t>(n) + 1, 0);
  justify_display_line(measure, v, index, adv.data());
  natural = 0;
  std::string out;
  for (int i = 0; i < n;) {
    const int units = char_units(text, i, n);
    TextExtent e;
    measure_text(measure, text + i, units, e, v);
    natural += e.cx;
    int a = 0;
    for (int k = i; k < i + units; ++k) a += adv[static_cast<std::size_t>(k)];
    out += (out.empty() ? "" : " ") + std::to_string(a);
    i += units;
  }
  return out;
}

std::string readings_of(ViewContext& v, MeasureContext& measure, int index,
                        const std::vector<int>& adv) {
  std::string out;
  for (const ReadingPlace& r : reading_places(v, measure, index, adv.data()))
    out += (out.empty() ? "" : " ") + std::to_string(r.head) + "@" + std::to_string(r.offset) +
           "+" + std::to_string(r.width);
  return out.empty() ? "-" : out;
}

}  // namespace

void dump_advances(ViewContext& v, std::FILE* out) {
  MeasureContext measure = view_measure_context(v);
  std::fprintf(out, "# half_width=%d em=%d\n", v.typeset.half_width, 2 * v.typeset.half_width);
  std::vector<int> adv;
  for (int i = 0; i < v.doc.line_count; ++i) {
    const DisplayLine& line = v.doc.lines[i];
    const int length =
        column_length(v, line.flags & DL_QUOTE) - line_notation(v.doc, line).shortened;
    int natural = 0;
    const std::string advances = advances_of(v, measure, i, natural, adv);
    const std::string s = std::to_string(i) + "\t" + flag_letters(line.flags) + "\t" +
                          std::to_string(length) + "\t" + std::to_string(natural) + "\t" +
                          advances + "\t" + readings_of(v, measure, i, adv) + "\n";
    std::fwrite(s.data(), 1, s.size(), out);
  }
}

}  // namespace yomite::render
