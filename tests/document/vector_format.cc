#include "tests/document/vector_format.h"

#include <sstream>

#include "decode/decode.h"
#include "view/attr_codes.h"

namespace yomite::test {

std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t at; (at = line.find(" | ", start)) != std::string::npos; start = at + 3)
    fields.push_back(line.substr(start, at - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::u16string to_utf16(const std::string& s) {
  std::vector<char16_t> out(s.size() + 1);
  int n = utf8_to_utf16(reinterpret_cast<const unsigned char*>(s.data()),
                        static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()));
  return std::u16string(out.data(), static_cast<std::size_t>(n));
}

std::string to_utf8(const char16_t* s) {
  return utf16_to_utf8(s, std::char_traits<char16_t>::length(s));
}

std::string code_tokens(const std::uint16_t* codes, int n, int expect_all_plain) {
  std::ostringstream out;
  if (n == 0) return "~";
  if (expect_all_plain) {
    for (int i = 0; i < n; ++i)
      if (codes[i] != CODE_PLAIN) return "not all plain";
    return ".*";
  }
  for (int i = 0; i < n; ++i) {
    if (i) out << ' ';
    std::uint16_t c = codes[i];
    if (c == CODE_PLAIN)
      out << '.';
    else if (c == CONTINUATION_CODE)
      out << '-';
    else if (is_ruby_code(c))
      out << 'r' << c - RUBY_CODE_FIRST;
    else if (is_note_code(c))
      out << 'n' << c - NOTE_CODE_FIRST;
    else
      out << c;
  }
  return out.str();
}

std::string entry_tokens(const ViewContext& view) {
  std::ostringstream out;
  for (int i = 0; i < ANNOTATION_ENTRIES; ++i) {
    const char16_t* e = view.doc.annotation_texts[static_cast<std::size_t>(i)];
    if (!e) continue;
    if (out.tellp() > 0) out << ' ';
    if (i < NOTE_FIRST_ENTRY) {
      out << 'r' << i << '=' << to_utf8(e);
    } else {
      out << 'n' << i - NOTE_FIRST_ENTRY << '=';
      if (e[0] == LINK_MARKER)
        out << '^' << to_utf8(e + 1);
      else
        out << to_utf8(e);
    }
  }
  return out.tellp() > 0 ? out.str() : "~";
}

int option_value(const std::string& options, const std::string& key, int fallback) {
  std::size_t at = options.find(key + "=");
  return at == std::string::npos ? fallback : std::stoi(options.substr(at + key.size() + 1));
}

}  // namespace yomite::test
