// How a Qt program of ours leaves once its event loop has ended. On Wayland,
// Qt 6.4's client can deadlock while it tears down its connection, so there
// the process ends at once instead; elsewhere main returns as usual. It does
// not close windows: by then the program's window is already closed.
#pragma once

namespace velmorida {

// Returns `status` for main to return; on Wayland, ends the process with it.
int LeaveEventLoop(int status);

}  // namespace velmorida
