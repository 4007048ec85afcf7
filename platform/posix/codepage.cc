// Code pages on POSIX: 932 through the table of platform/shared/cp932.h (the
// load's hot path), every other code page through iconv.
#include "platform/codepage.h"
#include "platform/shared/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>

namespace yomite::platform {

namespace {

// iconv name of a Windows code page, or null when we know none.
const char* iconv_name(int code_page) {
  static const std::map<int, const char*> names = {
      {437, "CP437"},         {720, "CP720"},        {737, "CP737"},        {775, "CP775"},
      {850, "CP850"},         {852, "CP852"},        {855, "CP855"},        {857, "CP857"},
      {860, "CP860"},         {861, "CP861"},        {862, "CP862"},        {863, "CP863"},
      {864, "CP864"},         {865, "CP865"},        {866, "CP866"},        {869, "CP869"},
      {874, "CP874"},         {936, "CP936"},        {949, "CP949"},        {950, "BIG5"},
      {1250, "CP1250"},       {1251, "CP1251"},      {1252, "CP1252"},      {1253, "CP1253"},
      {1254, "CP1254"},       {1255, "CP1255"},      {1256, "CP1256"},      {1257, "CP1257"},
      {1258, "CP1258"},       {1361, "JOHAB"},       {10000, "MACINTOSH"},  {20127, "ASCII"},
      {20866, "KOI8-R"},      {20932, "EUC-JP"},     {21866, "KOI8-U"},     {28591, "ISO-8859-1"},
      {28592, "ISO-8859-2"},  {28595, "ISO-8859-5"}, {28597, "ISO-8859-7"}, {28605, "ISO-8859-15"},
      {50220, "ISO-2022-JP"}, {51932, "EUC-JP"},     {51949, "EUC-KR"},     {54936, "GB18030"},
      {65001, "UTF-8"},
  };
  auto it = names.find(code_page);
  return it == names.end() ? nullptr : it->second;
}

// One converter per code page for the life of the process. The table is
// never destroyed: converters stay usable until the very end, and the leak
// checker sees them still reachable rather than lost.
iconv_t converter(int code_page) {
  static auto* open = new std::map<int, iconv_t>;
  auto it = open->find(code_page);
  if (it != open->end()) return it->second;
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  if (const char* name = iconv_name(code_page)) cd = iconv_open("UTF-16LE", name);
  open->emplace(code_page, cd);
  return cd;
}

bool is_932(int code_page) {
  return code_page == 0 || code_page == 1 || code_page == 932;
}

int convert_iconv(iconv_t cd, const unsigned char* src, int len, char16_t* dst, int limit) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(src));
  size_t in_left = static_cast<size_t>(len);
  int n = 0;
  while (in_left > 0 && n < limit) {
    unsigned char out[256];
    char* pout = reinterpret_cast<char*>(out);
    size_t out_left = sizeof out;
    size_t r = iconv(cd, &in, &in_left, &pout, &out_left);
    int err = errno;
    for (size_t k = 0; k + 1 < sizeof out - out_left && n < limit; k += 2)
      dst[n++] = static_cast<char16_t>(out[k] | (out[k + 1] << 8));
    if (r != static_cast<size_t>(-1) || err == E2BIG) continue;
    // EILSEQ or EINVAL: one byte the code page does not map.
    if (n < limit) dst[n++] = UNMAPPED_UNIT;
    ++in;
    --in_left;
  }
  return n;
}

}  // namespace

bool code_page_supported(int code_page) {
  return is_932(code_page) || converter(code_page) != reinterpret_cast<iconv_t>(-1);
}

int multibyte_to_utf16(int code_page, const unsigned char* src, int len, char16_t* dst,
                       int dst_capacity) {
  if (dst_capacity <= 0) return 0;
  int limit = dst_capacity - 1;
  int n;
  iconv_t cd = is_932(code_page) ? reinterpret_cast<iconv_t>(-1) : converter(code_page);
  if (cd == reinterpret_cast<iconv_t>(-1))
    n = convert_cp932(src, len, dst, limit);
  else
    n = convert_iconv(cd, src, len, dst, limit);
  dst[n] = 0;
  return n;
}

}  // namespace yomite::platform
