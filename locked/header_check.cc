// The viewer's side of a locked text: the header check with its password
// prompt, the start of the body, and the state a viewer process keeps.
#include <cstdio>
#include <cstring>

#include "decode/decode.h"
#include "locked/locked.h"
#include "platform/files.h"
#include "platform/password_prompt.h"
#include "platform/path_names.h"
#include "trace/trace.h"
#include "view/modal.h"
#include "view/view_context.h"

namespace yomite {

namespace {

struct LockedState {
  std::string remembered;  // last answer given with OK, right or wrong; never cleared
  int refused = 0;         // never cleared: the refused document stays empty
  char key[LOCKED_KEY_CHARS + 1] = {};
  int ango = 0;
};

LockedState& state() {
  static LockedState s;
  return s;
}

std::uint32_t get_le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Keeps at most PASSWORD_MAX_ANSWER bytes, not cutting a UTF-8 character.
std::string clip_answer(const std::string& text) {
  std::size_t n = text.size();
  if (n <= static_cast<std::size_t>(PASSWORD_MAX_ANSWER)) return text;
  n = PASSWORD_MAX_ANSWER;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return text.substr(0, n);
}

// Passwords are hexadecimal digits, as yomiseal prints them in upper case;
// lower-case letters are taken alike.
std::string upper_case_hex(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Puts the remembered password over the hidden digits of `key` when its
// length and all three checksums match; 1 on success, the key unchanged else.
int try_password(char* key, int digits, const unsigned char* header) {
  const std::string& p = state().remembered;
  if (p.size() != static_cast<std::size_t>(digits)) {
    trace("bad len ");
    return 0;
  }
  PasswordSums s = password_sums(reinterpret_cast<const unsigned char*>(p.data()), digits);
  std::uint32_t a = get_le32(header + LOCKED_SUM_A_OFFSET);
  std::uint32_t b = get_le32(header + LOCKED_SUM_B_OFFSET);
  std::uint32_t c = get_le32(header + LOCKED_SUM_C_OFFSET);
  trace("%x %x %x %x %x %x  ", a, s.a, b, s.b, c, s.c);
  if (a != s.a || b != s.b || c != s.c) return 0;
  std::memcpy(key, p.data(), static_cast<std::size_t>(digits));
  return 1;
}

// Asks until an answer fits: the remembered password first, without a
// prompt, then at most PASSWORD_MAX_PROMPTS prompts. 1 when the key is
// complete, 0 when the user gave up.
int ask_password(char* key, int digits, const unsigned char* header, platform::Window* owner,
                 const std::string& file) {
  if (!state().remembered.empty() && try_password(key, digits, header)) return 1;
  const std::string ask = "「" + platform::file_name_part(file) + "」のパスワード(&P):";
  for (int prompts = 0; prompts < PASSWORD_MAX_PROMPTS; ++prompts) {
    std::string answer;
    const std::string message = prompts == 0 ? ask : std::string(PASSWORD_WRONG) + "\n" + ask;
    int result = platform::password_prompt(owner, message, answer);
    if (result == 0 || result == -1) return 0;
    if (result == 1) state().remembered = clip_answer(upper_case_hex(answer));
    if (try_password(key, digits, header)) return 1;
  }
  return 0;
}

int accept_key(const char* key) {
  int ango = key_ango(key);
  trace("ango=%d ", ango);
  std::memcpy(state().key, key, LOCKED_KEY_CHARS);
  return ango;
}

}  // namespace

int check_locked_header_bytes(const unsigned char* bytes, std::size_t n, platform::Window* owner,
                              int probe, const std::string& file) {
  state().ango = 0;
  if (!is_locked_header(bytes, n)) return 0;
  char key[LOCKED_KEY_CHARS + 1] = {};
  std::memcpy(key, bytes + LOCKED_KEY_OFFSET, LOCKED_KEY_CHARS);
  if (key[0] == LOCKED_MASK_CHAR) {
    int digits = 0;
    while (digits < PASSWORD_MAX_DIGITS && key[digits] == LOCKED_MASK_CHAR) ++digits;
    trace("password 桁=%d\n", digits);
    if (probe) {
      // The probe reads only the first line, to look for layout directives;
      // it decodes with a stand-in key rather than ask.
      std::memset(key, '1', static_cast<std::size_t>(digits));
    } else if (!ask_password(key, digits, bytes, owner, file)) {
      state().refused = 1;
      return 0;
    }
  }
  state().ango = accept_key(key);
  return state().ango;
}

int check_locked_header(ViewContext& view, int probe) {
  unsigned char header[LOCKED_HEADER_BYTES];
  std::size_t n = 0;
  if (std::FILE* f = platform::open_regular_file(view.doc.file_name.c_str())) {
    n = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
  }
  ModalScope prompt(view);
  int ango = check_locked_header_bytes(header, n, view.viewport.window, probe, view.doc.file_name);
  if (is_locked_header(header, n)) view.doc.locked = 1;
  return ango;
}

int start_locked_body(TextStream& in, int ango, LockedBody& body) {
  if (!stream_seek(in, LOCKED_HEADER_BYTES)) return 0;
  body.ango = ango;
  body.r = key_random_term(ango);
  body.key_string = state().key;
  trace("rand=%d ", body.r);
  install_locked_keystream();
  return 1;
}

int read_locked_line(unsigned char* out, int capacity, TextStream& in, const LockedBody& body,
                     int line) {
  return read_byte_line(out, capacity, in, ENC_RAW, locked_line_key(body.ango, line), body.r,
                        body.key_string);
}

int locked_refused() {
  return state().refused;
}
const std::string& remembered_password() {
  return state().remembered;
}
void remember_password(const std::string& password) {
  state().remembered = clip_answer(upper_case_hex(password));
}
const char* current_key_string() {
  return state().key;
}
int current_ango() {
  return state().ango;
}

void reset_locked_state() {
  state() = LockedState{};
}

}  // namespace yomite
