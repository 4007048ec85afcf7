// Labels as the core writes them ('&' before the mnemonic letter, "&&" for
// a '&', "\t" before a key hint) in GTK's notation ('_' before the letter).
#pragma once

#include <string>

namespace yomite::platform {

// "開く(&O)" -> "開く(_O)", "A&&B" -> "A&B", "a_b" -> "a__b".
std::string gtk_mnemonic(const std::string& label);

struct MenuLabel {
  std::string text;  // GTK notation
  std::string hint;  // shown at the right like an accelerator; "" for none
};

// Splits at the first tab: "開く(&O)...\tO" -> {"開く(_O)...", "O"}.
MenuLabel menu_label(const std::string& label);

}  // namespace yomite::platform
