// The program's entry: creates the application and the calculator's window.
// It takes no options of its own; Qt's standard ones (-platform, ...) apply.
#include <QApplication>

#include "velmorida_version.h"
#include "window/qt/frm_velmorida.h"
#include "window/qt/process_end.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("velmorida"));
  QApplication::setApplicationVersion(QStringLiteral(VELMORIDA_VERSION_TEXT));
  // The desktop entry's id: Wayland compositors find the window's icon and
  // name through it.
  QGuiApplication::setDesktopFileName(QStringLiteral(VELMORIDA_APP_ID));
  velmorida::InstallAccessibility();
  int status = 0;
  {
    velmorida::frmVelmorida window;
    window.show();
    status = QApplication::exec();
  }
  return velmorida::LeaveEventLoop(status);
}
