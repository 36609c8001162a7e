// The program's entry on Windows: creates the calculator's window with the
// user's decimal separator and runs it. It reads no command line.
#include <windows.h>

#include "window/system_separator.h"
#include "window/win32/frm_velmorida.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  velmorida::win32::frmVelmorida window(velmorida::SystemDecimalSeparator());
  if (!window.Create(instance, show)) return 1;
  return window.Run();
}
