#include "platform/gtk/mnemonics.h"

namespace yomite::platform {

std::string gtk_mnemonic(const std::string& label) {
  std::string out;
  for (std::size_t i = 0; i < label.size(); ++i) {
    const char c = label[i];
    if (c == '_') {
      out += "__";
    } else if (c == '&' && i + 1 < label.size()) {
      // "&&" is a '&' shown; '&' before anything else marks the mnemonic.
      if (label[i + 1] == '&') {
        out += '&';
        ++i;
      } else {
        out += '_';
      }
    } else {
      out += c;  // a trailing '&' has nothing to mark and is shown
    }
  }
  return out;
}

MenuLabel menu_label(const std::string& label) {
  const std::size_t tab = label.find('\t');
  if (tab == std::string::npos) return {gtk_mnemonic(label), ""};
  return {gtk_mnemonic(label.substr(0, tab)), label.substr(tab + 1)};
}

}  // namespace yomite::platform
