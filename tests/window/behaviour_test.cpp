// The Qt window's driver of the behaviour table (behaviour.json), on Qt's
// offscreen platform: QTest's keys and mouse, the clipboard's paste key and a
// drop; what is shown is read from the widgets, what is said from the
// announcement's names.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QWindow>
#include <QtTest>
#include <optional>

#include "tests/window/window_fixture.h"

namespace {

constexpr const char* kPresentation = "qt";

QJsonArray Scenarios() {
  QFile file(QStringLiteral(VELMORIDA_BEHAVIOUR_TABLE));
  if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", VELMORIDA_BEHAVIOUR_TABLE);
  return QJsonDocument::fromJson(file.readAll()).object().value("scenarios").toArray();
}

// The reason a row names for this window not to play it, if any.
std::optional<QString> SkipReason(const QJsonObject& row) {
  const QJsonObject skip = row.value("skip").toObject();
  if (!skip.contains(kPresentation)) return std::nullopt;
  return skip.value(kPresentation).toString();
}

// Everything the announcement says: it is shown anew with each message as
// its name.
class Listener : public QObject {
 public:
  QStringList said;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) said << static_cast<QWidget*>(watched)->accessibleName();
    return false;
  }
};

// A key as the table names it: in Qt's own words, but for the keypad's
// decimal key, and Shift+Tab as the desktop delivers it.
QKeyCombination KeyNamed(const QString& name) {
  if (name == "KP_Decimal") return Qt::KeypadModifier | Qt::Key_Period;
  if (name == "shift+Tab") return Qt::ShiftModifier | Qt::Key_Backtab;
  return QKeySequence::fromString(name, QKeySequence::PortableText)[0];
}

// Where keys go: the window's focused widget, or an open list's own view.
// The window's own, since a compositor may leave the window inactive.
QWidget* KeyTarget(QWidget& window) {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
  }
  return window.focusWidget();
}

QJsonArray SelectionOf(const QLineEdit* box) {
  const int start = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
  return {start, start + (box->hasSelectedText() ? box->selectionLength() : 0)};
}

// A value as the table writes it, for a failure's message.
QString AsWritten(const QJsonValue& value) {
  return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

}  // namespace

class BehaviourTest : public QObject {
  Q_OBJECT

 private slots:
  void scenario_data() {
    QTest::addColumn<QJsonObject>("scenario");
    for (const QJsonValue scenario : Scenarios()) {
      const QJsonObject row = scenario.toObject();
      QTest::newRow(qPrintable(row.value("name").toString())) << row;
    }
  }

  void scenario() {
    QFETCH(QJsonObject, scenario);
    if (const std::optional<QString> reason = SkipReason(scenario)) QSKIP(qPrintable(*reason));
    velmorida::testing::Window w(scenario.value("separator").toString(".").toStdString());
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    Listener listener;
    w.Get<QWidget>("announcement")->installEventFilter(&listener);
    int number = 0;
    for (const QJsonValue value : scenario.value("steps").toArray()) {
      const QJsonObject step = value.toObject();
      const QString where = QStringLiteral("step %1").arg(++number);
      if (const std::optional<QString> reason = SkipReason(step)) {
        qInfo("%s skipped here: %s", qPrintable(where), qPrintable(*reason));
        continue;
      }
      listener.said.clear();
      for (const QJsonValue action : step.value("do").toArray()) {
        Do(w, action.toArray().at(0).toString(), action.toArray().at(1));
        if (QTest::currentTestFailed()) return;
      }
      Check(w, step.value("expect").toObject(), where);
      if (QTest::currentTestFailed()) return;
      const QStringList said = step.value("said").toVariant().toStringList();
      QVERIFY2(listener.said == said, qPrintable(where + QStringLiteral(": said \"") +
                                                 listener.said.join("\", \"") + '"'));
    }
  }

 private:
  static void Do(velmorida::testing::Window& w, const QString& verb, const QJsonValue& argument) {
    if (verb == "type") {
      QTest::keyClicks(KeyTarget(w.form), argument.toString());
    } else if (verb == "key") {
      const QKeyCombination key = KeyNamed(argument.toString());
      QVERIFY2(key.key() != Qt::Key_unknown, qPrintable("no such key: " + argument.toString()));
      QTest::keyClick(KeyTarget(w.form), key.key(), key.keyboardModifiers());
    } else if (verb == "paste") {
      QApplication::clipboard()->setText(argument.toString());
      QTest::keySequence(KeyTarget(w.form), QKeySequence::Paste);
    } else if (verb == "drop") {
      Drop(qobject_cast<QLineEdit*>(w.form.focusWidget()), argument.toString());
    } else if (verb == "click") {
      auto* widget = w.Get<QWidget>(qPrintable(argument.toString()));
      QTest::mouseClick(widget, Qt::LeftButton, {}, velmorida::testing::RightEnd(widget));
    } else if (verb == "choose") {
      Choose(w.Get<QComboBox>(qPrintable(argument.toArray().at(0).toString())),
             argument.toArray().at(1).toInt());
    } else {
      QFAIL(qPrintable("no such action: " + verb));
    }
  }

  // Dropped at the caret, as a drag lets go there.
  static void Drop(QLineEdit* box, const QString& text) {
    QVERIFY(box != nullptr);
    QMimeData data;
    data.setText(text);
    const QPoint caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QDragEnterEvent enter(caret, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent drop(caret, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
  }

  // The list opened, as a click on it opens it, and the item clicked in the
  // open list.
  static void Choose(QComboBox* list, int item) {
    list->setFocus(Qt::MouseFocusReason);
    list->showPopup();
    QAbstractItemView* view = list->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect place = view->visualRect(view->model()->index(item, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place.center());
  }

  static QJsonValue Shown(velmorida::testing::Window& w, const QString& key) {
    if (key == "ended") return w.endCalls == 1;
    // The title the platform's window was given, where there is one yet.
    if (key == "title") {
      return w.form.windowHandle() != nullptr ? w.form.windowHandle()->title()
                                              : w.form.windowTitle();
    }
    if (key == "focus") {
      return w.form.focusWidget() != nullptr ? w.form.focusWidget()->objectName() : QString();
    }
    const QString name = key.section('.', 0, 0);
    const QString part = key.section('.', 1);
    auto* widget = w.Get<QWidget>(qPrintable(name));
    if (widget == nullptr) return QStringLiteral("(no %1)").arg(name);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (part == "sel") return SelectionOf(qobject_cast<QLineEdit*>(widget));
    if (part == "shown") return !widget->isHidden();
    if (part == "name") return widget->accessibleName();
    if (part == "description") return accessible->text(QAccessible::Description);
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
    if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText();
    return qobject_cast<QLabel*>(widget)->text();
  }

  static void Check(velmorida::testing::Window& w, const QJsonObject& expect,
                    const QString& where) {
    for (auto it = expect.begin(); it != expect.end(); ++it) {
      const QJsonValue seen = Shown(w, it.key());
      QVERIFY2(seen == it.value(),
               qPrintable(QStringLiteral("%1: %2 is %3, not %4")
                              .arg(where, it.key(), AsWritten(seen), AsWritten(it.value()))));
    }
  }
};

VELMORIDA_WINDOW_TEST_MAIN(BehaviourTest)
#include "behaviour_test.moc"
