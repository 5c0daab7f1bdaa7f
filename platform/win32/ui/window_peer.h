// A peer that owns a native window: the form's or a control's.
#pragma once

#include "platform/ui/peer.h"
#include "platform/win32/ui/native.h"

namespace platform::win32 {

class WindowPeer : public ui::Peer {
 public:
  virtual HWND Window() const = 0;
};

}  // namespace platform::win32
