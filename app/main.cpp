// The program's entry: creates the application and the calculator's window.
// It takes no options of its own; Qt's standard ones (-platform, ...) apply.
#include <QApplication>

#include "window/frm_velmorida.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  velmorida::frmVelmorida window;
  window.show();
  return QApplication::exec();
}
