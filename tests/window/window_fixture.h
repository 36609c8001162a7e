// A started, shown calculator window for Qt tests, with Escape counted
// instead of ending the test program, and a paste through the clipboard.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "window/frm_velmorida.h"

namespace velmorida::testing {

struct Window {
  explicit Window(const NumberFormat& format = NumberFormat{"."})
      : form(format, [this] { ++endCalls; }) {
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }
  template <typename T>
  T* Get(const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
  }
  QLineEdit* Box(const char* name) { return Get<QLineEdit>(name); }
  QString ReadOut() { return Box("txtR")->text(); }
  QString Unit() { return Get<QLabel>("lblUM")->text(); }

  int endCalls = 0;
  frmVelmorida form;
};

inline void Paste(QLineEdit* box, const QString& text) {
  QApplication::clipboard()->setText(text);
  box->selectAll();
  box->paste();
}

}  // namespace velmorida::testing
