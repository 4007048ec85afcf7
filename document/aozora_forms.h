// The annotation forms of the full notation: what the text inside "［＃…］"
// asks for. Private to document/.
#pragma once

#include <cstdint>
#include <string_view>

namespace yomite {

enum FormKind {
  FORM_NOTE,        // anything else: kept as a footnote
  FORM_REMOVED,     // bold, italics, warichu tags: the tag goes, the text stays
  FORM_STYLE,       // 「X」に傍点 …: `code` on the X characters before
  FORM_STYLE_OPEN,  // 傍点 … 傍点終わり: `code` on what lies between
  FORM_STYLE_CLOSE,
  FORM_HEADING,       // 「X」は中見出し: `level` of the X characters before
  FORM_HEADING_OPEN,  // 中見出し … 中見出し終わり
  FORM_HEADING_CLOSE,
  FORM_HEADING_BLOCK,  // ここから中見出し: every line until ここで中見出し終わり
  FORM_HEADING_BLOCK_END,
  FORM_INDENT,        // N字下げ: this line, `first` cells
  FORM_INDENT_BLOCK,  // ここからN字下げ (、折り返してM字下げ): `first`, `wrap`
  FORM_INDENT_BLOCK_END,
  FORM_FOOT,        // 地付き (0), 地からN字上げ: the rest of the line, `first` cells up
  FORM_FOOT_BLOCK,  // ここから地付き, ここから地からN字上げ
  FORM_FOOT_BLOCK_END,
  FORM_PAGE_BREAK,   // 改ページ 改丁 改段 改見開き
  FORM_CENTRE_PAGE,  // ページの左右中央
  FORM_SIZE_BLOCK,   // ここからN段階小さな文字: `code` on every line until its end
  FORM_SIZE_BLOCK_END,
};

struct Form {
  FormKind kind = FORM_NOTE;
  std::uint16_t code = 0;  // FORM_STYLE*, FORM_SIZE_BLOCK: the line-style or size code
  int level = 0;           // FORM_HEADING*: HEADING_*
  int first = 0;           // cells
  int wrap = 0;
  std::u16string_view target;  // FORM_STYLE, FORM_HEADING: X
};

// What the text between "［＃" and "］" asks for.
Form classify_annotation(std::u16string_view body);

}  // namespace yomite
