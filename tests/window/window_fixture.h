// A started, shown calculator window for Qt tests, with Escape counted
// instead of ending the test program, and a paste through the clipboard and
// the paste key, as a user makes it.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include "window/qt/frm_velmorida.h"
#include "window/qt/process_end.h"

namespace velmorida::testing {

struct Window {
  explicit Window(const std::string& separator = ".")
      : form(separator, [this] {
          ++endCalls;
          return true;
        }) {
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }
  template <typename T>
  T* Get(const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
  }
  QLineEdit* Box(const char* name) { return Get<QLineEdit>(name); }

  int endCalls = 0;
  frmVelmorida form;
};

inline QPoint RightEnd(const QWidget* widget) {
  constexpr int kInsideTheBorder = 3;
  return {widget->width() - kInsideTheBorder, widget->height() / 2};
}

// Replaces the box's text with a paste from the clipboard.
inline void Paste(QLineEdit* box, const QString& text) {
  QApplication::clipboard()->setText(text);
  box->setFocus();
  box->selectAll();
  QTest::keySequence(box, QKeySequence::Paste);
}

}  // namespace velmorida::testing

// QTEST_MAIN's own main for a test of the window, which starts and leaves
// as the program does: with its accessibility interfaces, and on Wayland
// without Qt's teardown of the connection, which can hang.
#define VELMORIDA_WINDOW_TEST_MAIN(TestClass)          \
  int main(int argc, char* argv[]) {                   \
    QApplication application(argc, argv);              \
    QApplication::setAttribute(Qt::AA_Use96Dpi, true); \
    velmorida::InstallAccessibility();                 \
    int status = 0;                                    \
    {                                                  \
      TestClass test;                                  \
      QTEST_SET_MAIN_SOURCE_PATH                       \
      status = QTest::qExec(&test, argc, argv);        \
    }                                                  \
    return velmorida::LeaveEventLoop(status);          \
  }
