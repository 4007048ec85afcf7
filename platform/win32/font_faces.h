// Which installed family draws a face: the platform faces ("ＭＳ ゴシック",
// "ＭＳ 明朝" and their proportional forms) come with Windows in Japan but
// not with Wine or other Windows; the IPA fonts, then Noto CJK, stand in.
#pragma once

#include <string>
#include <vector>

namespace yomite::platform {

// Families that could draw `face` (no "@"), in order of preference: the face
// itself when it is installed, else its stand-ins, else the Gothic ones.
std::vector<std::string> candidate_families(const std::string& face);

// The first candidate that is installed, by the name the system lists it
// under (the face itself when none is).
std::string installed_family_for(const std::string& face);

// 1 when EnumFontFamiliesEx knows the family (a leading "@" included).
int family_enumerated(const std::string& family);

}  // namespace yomite::platform
