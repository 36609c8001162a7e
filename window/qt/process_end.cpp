#include "window/qt/process_end.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace velmorida {

// Qt 6.4's QWaylandDisplay destructor waits for its event thread, which can
// sit in wl_display_read_events waiting for a read the main thread prepared
// and will never finish: the process then never ends. Nothing is left to do
// or save once the event loop has returned, and the compositor drops the
// connection together with the process, so the teardown is skipped.
int LeaveEventLoop(int status) {
  if (QGuiApplication::platformName() == QLatin1String("wayland")) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}

}  // namespace velmorida
