// Start-up: one running instance per session, the forms in their order, the message loop.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "platform/ui/peer.h"

namespace app {

// Names both the single-instance semaphore and the activation message.
inline constexpr const char* InstanceName = "{8412F860-97EA-436A-8AB2-E4E6195990E2}";

// The activation message's number in this session, registered at start.
extern std::uint32_t InstanceMessage;

// The program: a second instance asks the first to come to the front and ends; the first finds
// its data folder (or says that there is none and ends), creates its forms and runs until the
// main window closes. Returns the exit code.
int RunDustorix(platform::System& system, ui::Backend& backend);

}  // namespace app
