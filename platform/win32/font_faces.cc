#include "platform/win32/font_faces.h"

#include <map>

#include "platform/font.h"
#include "platform/shared/stand_in_faces.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

namespace {

int CALLBACK note_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<int*>(found) = 1;
  return 0;  // one is enough
}

}  // namespace

int family_enumerated(const std::string& family) {
  // Asked often (every font made), answered once per name.
  static std::map<std::string, int> known;
  auto it = known.find(family);
  if (it != known.end()) return it->second;
  const std::wstring name = win32::widen(family);
  int found = 0;
  if (!name.empty() && name.size() < LF_FACESIZE) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    name.copy(query.lfFaceName, LF_FACESIZE - 1);
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &query, note_found, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
  }
  known.emplace(family, found);
  return found;
}

std::vector<std::string> candidate_families(const std::string& face) {
  std::vector<std::string> out;
  if (family_enumerated(face)) out.push_back(face);
  for (const std::string& f : stand_in_families_of(face)) out.push_back(f);
  return out;
}

std::string installed_family_for(const std::string& face) {
  for (const std::string& f : candidate_families(face))
    if (family_enumerated(f)) return f;
  return face;
}

int font_family_installed(const char* family) {
  const std::string name = family[0] == '@' ? family + 1 : family;
  if (name.empty()) return 0;
  if (family_enumerated(name)) return 1;
  // A platform face counts as installed when one of its stand-ins is.
  if (const StandIn* s = stand_in_of(name))
    for (const std::string& f : s->families)
      if (family_enumerated(f)) return 1;
  return 0;
}

}  // namespace yomite::platform
