// The Windows headers for the ui backend: win.h, the common controls, and no MessageBox macro,
// which would rename ui::Backend::MessageBox in some translation units and not in others.
#pragma once

#include "platform/win32/win.h"

#include <commctrl.h>

#undef MessageBox
