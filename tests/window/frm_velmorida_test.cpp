// The real window on Qt's offscreen platform: what a user sees and can do
// with the keyboard and the mouse, checked through the widgets themselves.
#include "window/qt/frm_velmorida.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "tests/support/contrast.h"
#include "tests/window/window_fixture.h"
#include "velmorida_version.h"
#include "window/qt/process_end.h"

using velmorida::NumberFormat;
using velmorida::testing::Paste;
using velmorida::testing::Window;

namespace {

// Counts the times a widget is shown.
class ShowCounter : public QObject {
 public:
  int shows = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Show) ++shows;
    return false;
  }
};

bool InAWindowsRole(QAccessible::Role role) {
  return role == QAccessible::Window || role == QAccessible::Dialog ||
         role == QAccessible::Border;  // AT-SPI's "frame", a top-level window
}

int WindowsUnder(QAccessibleInterface* accessible) {
  int windows = 0;
  for (int i = 0; i < accessible->childCount(); ++i) {
    QAccessibleInterface* child = accessible->child(i);
    windows += (InAWindowsRole(child->role()) ? 1 : 0) + WindowsUnder(child);
  }
  return windows;
}

// WCAG 2's contrast of two colours.
double Contrast(const QColor& a, const QColor& b) {
  const auto rgb = [](const QColor& c) {
    return velmorida::layout::Rgb{static_cast<std::uint8_t>(c.red()),
                                  static_cast<std::uint8_t>(c.green()),
                                  static_cast<std::uint8_t>(c.blue())};
  };
  return velmorida::testing::ContrastRatio(rgb(a), rgb(b));
}

// A dark desktop theme as GNOME's and KDE's dark styles give it to Qt: light
// text on dark faces and fields.
QPalette DarkDesktop() {
  QPalette dark(QColor(53, 53, 53), QColor(42, 42, 42));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                    QPalette::HighlightedText, QPalette::BrightText}) {
    dark.setColor(role, QColor(238, 238, 238));
  }
  dark.setColor(QPalette::Base, QColor(45, 45, 45));
  dark.setColor(QPalette::Highlight, QColor(53, 132, 228));
  return dark;
}

}  // namespace

class FrmVelmoridaTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { velmorida::InstallAccessibility(); }

  void startUpShowsZeroesWithFocusInCapacitance() {
    Window w;
    QCOMPARE(w.Box("txtC")->text(), QString("0"));
    QCOMPARE(w.Box("txtFreq")->text(), QString("0"));
    QCOMPARE(w.Get<QComboBox>("cboC")->currentText(), QString("pF"));
    QCOMPARE(w.Get<QComboBox>("cboFreq")->currentText(), QString("Hz"));
    QCOMPARE(w.ReadOut(), QString("0"));
    QCOMPARE(w.Unit(), QString("Ohm"));
    QCOMPARE(w.form.windowTitle(), QString(" Velmorida condensatoarelor "));
    QCOMPARE(w.form.focusWidget(), w.Box("txtC"));
    QVERIFY(!w.form.windowIcon().isNull());
    // The "0" is selected, so the first number typed replaces it.
    QTest::keyClicks(w.Box("txtC"), "100");
    QCOMPARE(w.Box("txtC")->text(), QString("100"));
  }

  // Installed at every size, the program's own PNGs under its id replace the
  // built-in 32 x 32 picture once the first frame is up, at the sizes a
  // window uses.
  void installedIconsReplaceTheBuiltInOne() {
    QTemporaryDir data;
    const QString id = QStringLiteral(VELMORIDA_APP_ID);
    for (int size : {VELMORIDA_ICON_SIZES}) {
      const QString folder = data.path() + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
      QVERIFY(QDir().mkpath(folder));
      QImage image(size, size, QImage::Format_ARGB32);
      image.fill(Qt::darkGreen);
      QVERIFY(image.save(folder + QLatin1Char('/') + id + QStringLiteral(".png")));
    }
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());
    QGuiApplication::setDesktopFileName(id);
    {
      Window w;
      QTRY_COMPARE(w.form.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {64, 64}}));
    }
    QGuiApplication::setDesktopFileName(QString());
    qputenv("XDG_DATA_DIRS", dataDirs);
    Window uninstalled;
    QTest::qWait(50);
    QCOMPARE(uninstalled.form.windowIcon().availableSizes(), (QList<QSize>{{32, 32}}));
  }

  void typingCorrectsEachKeystroke_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    // Typed over a selected "0": each keystroke is one change event.
    QTest::newRow("digits") << "txtC"
                            << "100"
                            << "100";
    QTest::newRow("seventh refused") << "txtC"
                                     << "1234567"
                                     << "123456";
    QTest::newRow("minus alone becomes 0 and is selected") << "txtFreq"
                                                           << "-7"
                                                           << "7";
    QTest::newRow("letter becomes 0") << "txtFreq"
                                      << "x5"
                                      << "5";
  }
  void typingCorrectsEachKeystroke() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Window w;
    QLineEdit* edit = w.Box(box.toLatin1().constData());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(
        w.form.state()
            .Text(box == "txtC" ? velmorida::InputBox::Capacitance : velmorida::InputBox::Frequency)
            .c_str(),
        shown);
  }

  // An edit in the middle of a number keeps the caret where it was typed,
  // and a seventh character is refused there, not cut off the end.
  void editingInTheMiddleKeepsTheCaret() {
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    QTest::keyClicks(txtC, "100");
    QTest::keyClick(txtC, Qt::Key_Home);
    QTest::keyClick(txtC, Qt::Key_Right);
    QTest::keyClicks(txtC, "52");
    QCOMPARE(txtC->text(), QString("15200"));
    QCOMPARE(txtC->cursorPosition(), 3);
    QTest::keyClicks(txtC, "34");
    QCOMPARE(txtC->text(), QString("152300"));
    QCOMPARE(txtC->cursorPosition(), 4);
  }

  // On X11 the middle button pastes the selection; it loses its edge line
  // breaks as the clipboard's paste does. Run by the smoke test on Xvfb.
  void middleButtonPasteLosesEdgeLineBreaks() {
    if (!QGuiApplication::clipboard()->supportsSelection()) QSKIP("no selection to paste");
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    QApplication::clipboard()->setText(QStringLiteral("470\r\n"), QClipboard::Selection);
    QTRY_COMPARE(QApplication::clipboard()->text(QClipboard::Selection), QString("470\r\n"));
    QTest::mouseClick(txtC, Qt::MiddleButton, {}, QPoint(txtC->width() - 3, txtC->height() / 2));
    QCOMPARE(txtC->text(), QString("0470"));
  }

  void clearingTheBoxGivesASelectedZero() {
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    txtC->selectAll();
    QTest::keyClicks(txtC, "47");
    QTest::keyClick(txtC, Qt::Key_Backspace);
    QTest::keyClick(txtC, Qt::Key_Backspace);
    QCOMPARE(txtC->text(), QString("0"));
    QCOMPARE(txtC->selectedText(), QString("0"));
    QCOMPARE(w.ReadOut(), QString("0"));
    QCOMPARE(w.Unit(), QString("Ohm"));
    QTest::keyClick(txtC, Qt::Key_5);  // replaces the selected "0"
    QCOMPARE(txtC->text(), QString("5"));
  }

  void pastesAreCorrected_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("caret");
    QTest::newRow("letters") << "abc"
                             << "0" << 1;
    QTest::newRow("negative") << "-5"
                              << "5" << 1;
    QTest::newRow("negative cut to six") << "-12e-5"
                                         << "0.0001" << 6;
    // Line breaks at either end go before the box sees the text; blanks stay.
    QTest::newRow("spreadsheet cell") << "470\n"
                                      << "470" << 3;
    QTest::newRow("windows line end") << "470\r\n"
                                      << "470" << 3;
    QTest::newRow("line break first, six digits") << "\n123456"
                                                  << "123456" << 6;
    QTest::newRow("blank kept, line end gone") << " 7\r\n"
                                               << " 7" << 2;
    QTest::newRow("line break inside") << "1\n2"
                                       << "0" << 1;
    QTest::newRow("line breaks only") << "\r\n"
                                      << "0" << 1;
  }
  void pastesAreCorrected() {
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, caret);
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    Paste(txtC, pasted);
    QCOMPARE(txtC->text(), shown);
    QCOMPARE(txtC->cursorPosition(), caret);
  }

  // The other ways text reaches a box lose the edge line breaks too. Dropped
  // at the end of the "0", "470" makes "0470".
  void lineBreaksLeaveTheContextMenusPasteAndDrops_data() {
    QTest::addColumn<bool>("drop");
    QTest::newRow("context menu's Paste") << false;
    QTest::newRow("drop") << true;
  }
  void lineBreaksLeaveTheContextMenusPasteAndDrops() {
    QFETCH(bool, drop);
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    const QString cell = QStringLiteral("\r\n470\r\n");
    if (drop) {
      QMimeData data;
      data.setText(cell);
      const QPoint end(txtC->width() - 3, txtC->height() / 2);
      QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(txtC, &enter);
      QDropEvent event(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(txtC, &event);
      QCOMPARE(txtC->text(), QString("0470"));
      return;
    }
    QApplication::clipboard()->setText(cell);
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(4, 4),
                              txtC->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(txtC, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text().startsWith(QLatin1String("&Paste"))) paste = action;
    }
    QVERIFY(paste != nullptr);
    paste->trigger();
    menu->close();
    QCOMPARE(txtC->text(), QString("470"));
  }

  void aComputedFigureWithItsUnit() {
    Window w;
    Paste(w.Box("txtC"), "100");
    Paste(w.Box("txtFreq"), "1");
    auto* cboC = w.Get<QComboBox>("cboC");
    auto* cboFreq = w.Get<QComboBox>("cboFreq");
    cboC->setFocus();
    QTest::keyClick(cboC, Qt::Key_Down);  // pF -> nF from the keyboard
    QCOMPARE(cboC->currentText(), QString("nF"));
    QCOMPARE(w.ReadOut(), QString("1.592"));
    QCOMPARE(w.Unit(), QString("MOhm"));

    // kHz with the mouse, from the open list.
    cboFreq->showPopup();
    QAbstractItemView* view = cboFreq->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect item = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(cboFreq->currentText(), QString("kHz"));
    QCOMPARE(w.ReadOut(), QString("1.592"));
    QCOMPARE(w.Unit(), QString("kOhm"));
    QCOMPARE(w.form.state().cboFreq, std::string("kHz"));

    // Choosing the unit already shown changes nothing.
    emit cboFreq->activated(1);
    QCOMPARE(w.ReadOut(), QString("1.592"));
    QCOMPARE(w.Unit(), QString("kOhm"));
  }

  void unitLabelWidensAndKeepsItsLeftEdge() {
    Window w;
    auto* lblUM = w.Get<QLabel>("lblUM");
    const QRect ohm = lblUM->geometry();
    Paste(w.Box("txtC"), "1");
    Paste(w.Box("txtFreq"), "1");
    QCOMPARE(w.Unit(), QString("MOhm"));
    QCOMPARE(lblUM->x(), ohm.x());
    QVERIFY(lblUM->width() > ohm.width());
    QVERIFY(lblUM->width() >= lblUM->sizeHint().width());
  }

  void tabOrderRunsThroughInputsListsAndReadOut() {
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    const char* order[] = {"txtC", "cboC", "txtFreq", "cboFreq", "txtR", "txtC"};
    w.Box("txtC")->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString(order[i]));
    }
  }

  void escapeEndsTheProgram_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("capacitance box") << "txtC";
    QTest::newRow("frequency box") << "txtFreq";
    QTest::newRow("capacitance list") << "cboC";
    QTest::newRow("frequency list") << "cboFreq";
    QTest::newRow("read-out") << "txtR";
  }
  void escapeEndsTheProgram() {
    QFETCH(QString, control);
    Window w;
    auto* widget = w.Get<QWidget>(control.toLatin1().constData());
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A);
    QCOMPARE(w.endCalls, 0);
    QTest::keyClick(widget, Qt::Key_Escape);
    QCOMPARE(w.endCalls, 1);
  }

  void escapeInAnOpenListEndsTheProgram() {
    Window w;
    auto* cboC = w.Get<QComboBox>("cboC");
    cboC->showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(cboC->view()->window()));
    QTest::keyClick(cboC->view(), Qt::Key_Escape);
    QCOMPARE(w.endCalls, 1);
  }

  // Whatever the keyboard layout prints on the keypad's decimal key (a "."
  // or, on German and Romanian layouts, a ","), it types the locale's
  // separator.
  void keypadDecimalTypesTheLocaleSeparator() {
    const struct {
      const char* name;
      const char* separator;
      Qt::Key key;
      const char* typed;
    } rows[] = {
        {"PeriodKeyInACommaLocale", ",", Qt::Key_Period, "0,47"},
        {"CommaKeyInACommaLocale", ",", Qt::Key_Comma, "0,47"},
        {"CommaKeyInAPeriodLocale", ".", Qt::Key_Comma, "0.47"},
        {"PeriodKeyInAPeriodLocale", ".", Qt::Key_Period, "0.47"},
    };
    for (const auto& row : rows) {
      Window w(NumberFormat{row.separator});
      QLineEdit* txtC = w.Box("txtC");
      txtC->selectAll();
      QTest::keyClick(txtC, Qt::Key_0);
      QTest::keyClick(txtC, row.key, Qt::KeypadModifier);
      QTest::keyClicks(txtC, "47");
      QVERIFY2(txtC->text() == QString(row.typed), row.name);
    }
    Window w(NumberFormat{","});
    QLineEdit* txtC = w.Box("txtC");
    QTest::keyClick(txtC, Qt::Key_Period);  // the main keyboard's "." is no separator here
    QCOMPARE(txtC->text(), QString("0"));
  }

  void commaLocaleReadsAndWritesComma() {
    Window w(NumberFormat{","});
    w.Enter("0,47", "uF", "1", "kHz");
    QCOMPARE(w.ReadOut(), QString("338,7993"));
  }

  // Run by CTest a second time with LC_ALL=ro_RO.UTF-8.
  void romanianLocaleFromTheSystem() {
    if (qgetenv("LC_ALL") != "ro_RO.UTF-8") QSKIP("run with LC_ALL=ro_RO.UTF-8");
    Window w(velmorida::SystemNumberFormat());
    w.Enter("100", "nF", "1", "kHz");
    QCOMPARE(w.ReadOut(), QString("1,592"));
    QCOMPARE(w.Unit(), QString("kOhm"));
  }

  void readOutShowsTheStartOfALongFigureAndCopies() {
    Window w;
    Paste(w.Box("txtC"), "1e-298");
    Paste(w.Box("txtFreq"), "1");
    QLineEdit* txtR = w.Box("txtR");
    QCOMPARE(txtR->text(), QString("1.59235668789809E+303"));
    QCOMPARE(txtR->cursorPosition(), 0);
    QVERIFY(txtR->isReadOnly());
    txtR->setFocus();
    txtR->selectAll();
    QTest::keySequence(txtR, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QString("1.59235668789809E+303"));
  }

  void uncomputableReadOutIsHidden() {
    Window w;
    Paste(w.Box("txtC"), "1e-300");
    Paste(w.Box("txtFreq"), "1e-300");
    QVERIFY(w.Box("txtR")->isHidden());
    QVERIFY(w.Get<QLabel>("lblUM")->isHidden());
    QVERIFY(w.Get<QLabel>("lblEtichete0")->isHidden());
    Paste(w.Box("txtFreq"), "1");
    QVERIFY(!w.Box("txtR")->isHidden());
    QVERIFY(!w.Get<QLabel>("lblEtichete0")->isHidden());
  }

  // What a user sees of the layout, whatever the unit: every control inside
  // the frame, the frame inside the window, every caption shown in full, and
  // no two controls over each other. The layout draws each input box one
  // pixel under its unit list; nothing else touches.
  void layoutKeepsControlsApartAndCaptionsWhole_data() {
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("unit");
    QTest::newRow("Ohm") << QStringList{"0", "pF", "0", "Hz"} << "Ohm";
    QTest::newRow("kOhm") << QStringList{"100", "nF", "1", "kHz"} << "kOhm";
    QTest::newRow("MOhm") << QStringList{"1", "pF", "1", "Hz"} << "MOhm";
  }
  void layoutKeepsControlsApartAndCaptionsWhole() {
    QFETCH(QStringList, inputs);
    QFETCH(QString, unit);
    Window w;
    w.Enter(qPrintable(inputs[0]), qPrintable(inputs[1]), qPrintable(inputs[2]),
            qPrintable(inputs[3]));
    QCOMPARE(w.Unit(), unit);
    // 6765 x 3015 twips at 15 twips a pixel.
    QCOMPARE(w.form.size(), QSize(451, 201));
    auto* frame = w.Get<QFrame>("fraVelmorida");
    QVERIFY(w.form.rect().contains(frame->geometry()));
    const QList<QWidget*> controls = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 10);
    for (const QWidget* control : controls) {
      const QString name = control->objectName();
      QVERIFY2(frame->contentsRect().contains(control->geometry()), qPrintable(name));
      if (const auto* label = qobject_cast<const QLabel*>(control)) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
        QVERIFY2(label->height() >= label->sizeHint().height(), qPrintable(name));
      }
    }
    const QSet<QString> touching = {"txtC+cboC", "txtFreq+cboFreq"};
    for (qsizetype i = 0; i < controls.size(); ++i) {
      for (qsizetype j = i + 1; j < controls.size(); ++j) {
        const QString pair = controls[i]->objectName() + "+" + controls[j]->objectName();
        const QRect overlap = controls[i]->geometry() & controls[j]->geometry();
        const int allowed = touching.contains(pair) ? 1 : 0;
        QVERIFY2(overlap.isEmpty() || overlap.width() <= allowed, qPrintable(pair));
      }
    }
  }

  // Under a dark desktop theme, chosen before the window opens or while it
  // runs, each widget draws its text in colours legible on its own
  // background: labels on the window, boxes and read-out on their fields, a
  // list's face and its open popup, and every selection.
  void darkThemesLeaveEveryTextLegible_data() {
    QTest::addColumn<bool>("whileRunning");
    QTest::newRow("dark theme at start-up") << false;
    QTest::newRow("dark theme chosen while the window runs") << true;
  }
  void darkThemesLeaveEveryTextLegible() {
    QFETCH(bool, whileRunning);
    const auto restore =
        qScopeGuard([desktop = QApplication::palette()] { QApplication::setPalette(desktop); });
    if (!whileRunning) QApplication::setPalette(DarkDesktop());
    {
      Window w;
      auto* list = w.Get<QComboBox>("cboFreq");
      list->showPopup();  // the popup is made on first use
      list->hidePopup();
      if (whileRunning) QApplication::setPalette(DarkDesktop());
      QList<QWidget*> widgets =
          w.Get<QFrame>("fraVelmorida")->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
      widgets << list->view();
      const std::pair<QPalette::ColorRole, QPalette::ColorRole> drawn[] = {
          {QPalette::WindowText, QPalette::Window},
          {QPalette::Text, QPalette::Base},
          {QPalette::ButtonText, QPalette::Button},
          {QPalette::HighlightedText, QPalette::Highlight},
      };
      for (const QWidget* widget : widgets) {
        for (auto [text, background] : drawn) {
          const QPalette& p = widget->palette();
          const double ratio = Contrast(p.color(text), p.color(background));
          QVERIFY2(ratio >= velmorida::testing::kLeastContrastForText,
                   qPrintable(QStringLiteral("%1: roles %2 on %3, %4:1")
                                  .arg(widget->objectName())
                                  .arg(text)
                                  .arg(background)
                                  .arg(ratio)));
        }
      }
    }
  }

  // The colours a user sees, read from the drawn pixels: the green boxes,
  // the yellow read-out and the grey window, right of any figure.
  void controlsAreDrawnInTheirColours() {
    Window w;
    const struct {
      const char* name;
      QColor colour;
    } rows[] = {
        {"txtC", QColor(192, 255, 192)},
        {"txtFreq", QColor(192, 255, 192)},
        {"txtR", QColor(255, 255, 128)},
        {"lblEtichete0", QColor(224, 224, 224)},
    };
    constexpr int kInsideTheBorder = 4;
    for (const auto& row : rows) {
      auto* widget = w.Get<QWidget>(row.name);
      const QImage drawn = widget->grab().toImage();
      const QColor seen = drawn.pixelColor(drawn.width() - kInsideTheBorder, drawn.height() / 2);
      QVERIFY2(seen == row.colour,
               qPrintable(QStringLiteral("%1 drawn in %2").arg(row.name, seen.name())));
    }
  }

  // Orca ignores every event from inside a window it finds inactive, and it
  // took a QFrame (AT-SPI "frame") for the window; it leaves out a box's text
  // when the box reports its attributes over an empty run.
  void screenReadersSeeOneWindowAndWholeTexts() {
    Window w;
    Paste(w.Box("txtC"), "1");
    Paste(w.Box("txtFreq"), "1");
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w.form);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QString(" Velmorida condensatoarelor "));
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Get<QFrame>("fraVelmorida"))->role(),
             QAccessible::Grouping);
    QCOMPARE(WindowsUnder(window), 0);
    for (const char* name : {"txtC", "txtFreq", "txtR"}) {
      QAccessibleTextInterface* text =
          QAccessible::queryAccessibleInterface(w.Box(name))->textInterface();
      QVERIFY2(text != nullptr, name);
      QCOMPARE(text->text(0, text->characterCount()), w.Box(name)->text());
      int start = -1;
      int end = -1;
      text->attributes(0, &start, &end);
      QCOMPARE(start, 0);
      QCOMPARE(end, text->characterCount());
    }
    // A screen reader reads a part of a box by offsets, start and end, and
    // learns the selection the same way.
    Paste(w.Box("txtC"), "123456");
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(w.Box("txtC"))->textInterface();
    const struct {
      const char* name;
      int start;
      int end;
      const char* read;
    } ranges[] = {{"TwoInTheMiddle", 1, 3, "23"}, {"ToTheEnd", 2, 6, "3456"}, {"Empty", 4, 4, ""}};
    for (const auto& range : ranges) {
      QVERIFY2(text->text(range.start, range.end) == QString(range.read), range.name);
    }
    w.Box("txtC")->setSelection(1, 2);
    int selectionStart = -1;
    int selectionEnd = -1;
    text->selection(0, &selectionStart, &selectionEnd);
    QCOMPARE(selectionStart, 1);
    QCOMPARE(selectionEnd, 3);
    Paste(w.Box("txtC"), "1");
    // An edit through the screen reader is corrected and computed as typing.
    QAccessibleInterface* txtC = QAccessible::queryAccessibleInterface(w.Box("txtC"));
    txtC->editableTextInterface()->replaceText(0, 1, "-5");
    QCOMPARE(w.Box("txtC")->text(), QString("5"));
    QCOMPARE(w.form.state().txtC(), std::string("5"));
    QCOMPARE(w.ReadOut(), QString("31847.134"));
    QVERIFY(QAccessible::queryAccessibleInterface(w.Box("txtR"))->editableTextInterface() ==
            nullptr);
  }

  // What the window says to a screen reader without moving the focus: each
  // new figure with its unit, a unit chosen in a list (with the figure when
  // it changed), and the figure on Ctrl+R; nothing when the figure stays.
  void announcementsSayEachNewFigureOnce() {
    Window w;
    auto* announcement = w.Get<QWidget>("announcement");
    QVERIFY(announcement != nullptr);
    QCOMPARE(QAccessible::queryAccessibleInterface(announcement)->role(),
             QAccessible::Notification);
    ShowCounter counter;
    announcement->installEventFilter(&counter);
    struct Step {
      const char* name;
      std::function<void()> act;
      const char* said;  // nullptr: nothing
    };
    const Step steps[] = {
        {"a figure that stays 0", [&] { Paste(w.Box("txtC"), "100"); }, nullptr},
        {"a unit, the figure unchanged", [&] { w.Choose("cboC", "nF"); }, "nF"},
        {"a new figure", [&] { Paste(w.Box("txtFreq"), "1"); }, "1.592 MOhm"},
        {"a unit that changes the figure", [&] { w.Choose("cboFreq", "kHz"); }, "kHz, 1.592 kOhm"},
        {"an edit that leaves the figure", [&] { Paste(w.Box("txtC"), "100.0"); }, nullptr},
        {"Ctrl+R", [&] { QTest::keyClick(w.Box("txtC"), Qt::Key_R, Qt::ControlModifier); },
         "1.592 kOhm"},
    };
    for (const Step& step : steps) {
      const int before = counter.shows;
      step.act();
      QCOMPARE(counter.shows - before, step.said != nullptr ? 1 : 0);
      if (step.said != nullptr) {
        QCOMPARE(announcement->accessibleName(), QString(step.said));
      }
    }
    QCOMPARE(w.Box("txtC")->text(), QString("100.0"));  // Ctrl+R typed nothing
  }

  // While the read-out is hidden there is no figure to tell: neither the
  // edit that hides it nor Ctrl+R says anything.
  void nothingIsSpokenWhileTheReadOutIsHidden() {
    Window w;
    Paste(w.Box("txtFreq"), "1");
    Paste(w.Box("txtC"), "1e-300");
    ShowCounter counter;
    w.Get<QWidget>("announcement")->installEventFilter(&counter);
    Paste(w.Box("txtFreq"), "1e-300");
    QVERIFY(w.Box("txtR")->isHidden());
    QTest::keyClick(w.Box("txtFreq"), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(counter.shows, 0);
  }

  void screenReadersGetNamesAndTheUnit() {
    Window w;
    struct Named {
      const char* control;
      QAccessible::Text field;
      const char* text;
    };
    // A list's name is its current item on Linux; its caption is in the
    // description there.
    const Named named[] = {
        {"txtC", QAccessible::Name, "Capacitatea condensatorului"},
        {"cboC", QAccessible::Description, "Capacitatea condensatorului, unitate"},
        {"txtFreq", QAccessible::Name, "Frecventa de lucru"},
        {"cboFreq", QAccessible::Description, "Frecventa de lucru, unitate"},
        {"txtR", QAccessible::Name, "Velmorida condensatorului"},
    };
    for (const Named& n : named) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w.Get<QWidget>(n.control));
      QVERIFY(a != nullptr);
      QCOMPARE(a->text(n.field), QString(n.text));
      QCOMPARE(w.Get<QWidget>(n.control)->accessibleName().isEmpty(), false);
    }
    Paste(w.Box("txtC"), "1");
    Paste(w.Box("txtFreq"), "1");
    QAccessibleInterface* readOut = QAccessible::queryAccessibleInterface(w.Box("txtR"));
    QCOMPARE(readOut->text(QAccessible::Value), QString("159235.669"));
    QCOMPARE(readOut->text(QAccessible::Description), QString("MOhm"));
    QAccessibleInterface* unit = QAccessible::queryAccessibleInterface(w.Get<QLabel>("lblUM"));
    QCOMPARE(unit->text(QAccessible::Name), QString("MOhm"));
  }
};

// QTEST_MAIN's own main, which leaves as the program does: on Wayland without
// Qt's teardown of the connection, which can hang.
int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setAttribute(Qt::AA_Use96Dpi, true);
  int status = 0;
  {
    FrmVelmoridaTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    status = QTest::qExec(&test, argc, argv);
  }
  return velmorida::LeaveEventLoop(status);
}
#include "frm_velmorida_test.moc"
