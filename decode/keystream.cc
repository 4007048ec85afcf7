#include "decode/keystream.h"

namespace yomite {

namespace {
KeystreamRowFn g_keystream = nullptr;
}  // namespace

void set_keystream(KeystreamRowFn fn) {
  g_keystream = fn;
}

KeystreamRowFn current_keystream() {
  return g_keystream;
}

}  // namespace yomite
