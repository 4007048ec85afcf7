// The families that draw the platform faces ("ＭＳ ゴシック", "ＭＳ 明朝" and
// their proportional forms) where those are not installed, in order of
// preference: the IPA fonts, then Noto CJK. Both font backends use them.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

struct StandIn {
  const char* face;
  std::vector<std::string> families;
};

inline const std::vector<StandIn>& stand_ins() {
  static const std::vector<StandIn> table = {
      {"ＭＳ ゴシック", {"IPAGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP"}},
      {"ＭＳ 明朝", {"IPAMincho", "Noto Serif CJK JP"}},
      {"ＭＳ Ｐゴシック", {"IPAPGothic", "Noto Sans CJK JP"}},
      {"ＭＳ Ｐ明朝", {"IPAPMincho", "Noto Serif CJK JP"}},
  };
  return table;
}

// The stand-ins of platform face `face` (no "@"), or null for any other face.
inline const StandIn* stand_in_of(const std::string& face) {
  for (const StandIn& s : stand_ins())
    if (face == s.face) return &s;
  return nullptr;
}

// Families to try for `face` after the face itself: its stand-ins, or those
// of the Gothic face when it is no platform face.
inline const std::vector<std::string>& stand_in_families_of(const std::string& face) {
  const StandIn* known = stand_in_of(face);
  return (known ? known : &stand_ins()[0])->families;
}

}  // namespace yomite::platform
