// A modal window the core opens (a dialog, the context menu, a chooser, a
// message, the note, the password prompt), counted in the viewport while it
// is open: requests of other programs then wait for it to close, or are
// refused when they would open another (viewer/messages.h).
#pragma once

#include "view/view_context.h"

namespace yomite {

class ModalScope {
 public:
  explicit ModalScope(ViewContext& view);
  // The last one to close asks the shell for a tick, so that what waited runs.
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  ViewContext& view_;
};

}  // namespace yomite
