// Apart from the view record: only programs with a window count modal windows.
#include "view/modal.h"

#include "platform/window.h"

namespace yomite {

ModalScope::ModalScope(ViewContext& view) : view_(view) {
  ++view_.viewport.modal;
}

ModalScope::~ModalScope() {
  if (--view_.viewport.modal == 0 && !view_.viewport.waiting_commands.empty())
    platform::window_request_tick(view_.viewport.window, 0);
}

}  // namespace yomite
