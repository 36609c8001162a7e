// The Qt window's own work on Qt's offscreen platform: its icon, places,
// colours, accessibility interfaces, clipboard and keypad as Qt gives them,
// checked through the widgets themselves. What a user does with the window
// and what it then shows and says is the behaviour table's.
#include "window/qt/frm_velmorida.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/window/window_fixture.h"
#include "velmorida_version.h"

namespace layout = velmorida::layout;
using velmorida::testing::Paste;
using velmorida::testing::Window;

class FrmVelmoridaTest : public QObject {
  Q_OBJECT

 private slots:
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

  // On X11 the middle button pastes the selection; it loses its edge line
  // breaks as the clipboard's paste does. Run by the themes test on Xvfb.
  void middleButtonPasteLosesEdgeLineBreaks() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) QSKIP("run on X11");
    QVERIFY(QGuiApplication::clipboard()->supportsSelection());
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    QApplication::clipboard()->setText(QStringLiteral("470\r\n"), QClipboard::Selection);
    QTRY_COMPARE(QApplication::clipboard()->text(QClipboard::Selection), QString("470\r\n"));
    QTest::mouseClick(txtC, Qt::MiddleButton, {}, velmorida::testing::RightEnd(txtC));
    QCOMPARE(txtC->text(), QString("0470"));
  }

  // The box's own menu pastes as the paste key does, losing the edge breaks.
  void theContextMenusPasteLosesEdgeLineBreaks() {
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    QApplication::clipboard()->setText(QStringLiteral("\r\n470\r\n"));
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

  // Where the box's own limit, in UTF-16 units, meets the calculator's cut
  // of a long paste: the box keeps what it has room for, never half an emoji.
  void longPastesMeetTheBoxsLimit() {
    Window w;
    Paste(w.Box("txtC"), QStringLiteral("12345\U0001F600"));
    QCOMPARE(w.Box("txtC")->text(), QString("12345"));
  }

  // The keypad's decimal key prints "," on German and Romanian layouts; Qt
  // reports it as that key on the keypad, and it types the locale's separator.
  // The "." key, and a comma locale, are the behaviour table's KP_Decimal.
  void keypadDecimalKeyOfEveryLayout() {
    Window w;
    QLineEdit* txtC = w.Box("txtC");
    QTest::keyClick(txtC, Qt::Key_0);
    QTest::keyClick(txtC, Qt::Key_Comma, Qt::KeypadModifier);
    QTest::keyClicks(txtC, "47");
    QCOMPARE(txtC->text(), QString("0.47"));
  }

  // Run by CTest a second time with LC_ALL=ro_RO.UTF-8; the comma's window is the table's.
  void romanianLocaleFromTheSystem() {
    if (qgetenv("LC_ALL") != "ro_RO.UTF-8") QSKIP("run with LC_ALL=ro_RO.UTF-8");
    QCOMPARE(QString::fromStdString(velmorida::SystemDecimalSeparator()), QString(","));
  }

  // The read-out takes no typing, but its figure can be selected and copied.
  void readOutCopies() {
    Window w;
    Paste(w.Box("txtC"), "1e-298");
    Paste(w.Box("txtFreq"), "1");
    QLineEdit* txtR = w.Box("txtR");
    QVERIFY(txtR->isReadOnly());
    txtR->setFocus();
    txtR->selectAll();
    QTest::keySequence(txtR, QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), QString("1.59235668789809E+303"));
  }

  // Whatever the unit: every control at its place in the frame (the unit
  // label keeps its left edge as it widens), the frame inside the window,
  // every caption whole, and no two controls over each other but each input
  // box one pixel under its unit list, as the layout draws it.
  void layoutKeepsControlsApartAndCaptionsWhole_data() {
    QTest::addColumn<QStringList>("picofaradsAndHertz");
    QTest::addColumn<QString>("unit");
    QTest::newRow("Ohm") << QStringList{"0", "0"} << "Ohm";
    QTest::newRow("kOhm") << QStringList{"100000", "1000"} << "kOhm";
    QTest::newRow("MOhm") << QStringList{"1", "1"} << "MOhm";
  }
  void layoutKeepsControlsApartAndCaptionsWhole() {
    QFETCH(QStringList, picofaradsAndHertz);
    QFETCH(QString, unit);
    Window w;
    Paste(w.Box("txtC"), picofaradsAndHertz[0]);
    Paste(w.Box("txtFreq"), picofaradsAndHertz[1]);
    QCOMPARE(w.Get<QLabel>("lblUM")->text(), unit);
    // 6765 x 3015 twips at 15 twips a pixel.
    QCOMPARE(w.form.size(), QSize(451, 201));
    auto* frame = w.Get<QFrame>("fraVelmorida");
    QVERIFY(w.form.rect().contains(frame->geometry()));
    const QList<QWidget*> controls = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 10);
    for (const QWidget* control : controls) {
      const QString name = control->objectName();
      const layout::Control* row = layout::RowNamed(name.toStdString());
      QVERIFY2(row != nullptr, qPrintable(name));
      const layout::Pixels place = layout::ToPixels(row->place, layout::kDesignDpi);
      QVERIFY2(control->pos() == QPoint(place.left, place.top), qPrintable(name));
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

  // What a screen reader reads of a box through Qt's text interface (the
  // roles, names and whole texts are read over AT-SPI by the screen-reader
  // test): Orca leaves out a box's text when the box reports its attributes
  // over an empty run.
  void screenReadersReadPartsOfABox() {
    Window w;
    Paste(w.Box("txtC"), "1");
    Paste(w.Box("txtFreq"), "1");
    for (const char* name : {"txtC", "txtFreq", "txtR"}) {
      QAccessibleTextInterface* text =
          QAccessible::queryAccessibleInterface(w.Box(name))->textInterface();
      QVERIFY2(text != nullptr, name);
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
    QCOMPARE(w.Box("txtR")->text(), QString("31847.134"));
    QVERIFY(QAccessible::queryAccessibleInterface(w.Box("txtR"))->editableTextInterface() ==
            nullptr);
  }
};

VELMORIDA_WINDOW_TEST_MAIN(FrmVelmoridaTest)
#include "frm_velmorida_test.moc"
