// The real window on Qt's offscreen platform: what a user sees and can do
// with the keyboard and the mouse, checked through the widgets themselves.
#include "window/frm_velmorida.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QtTest>
#include <memory>

#include "tests/window/window_fixture.h"

using velmorida::NumberFormat;
using velmorida::testing::Paste;
using velmorida::testing::Window;

class FrmVelmoridaTest : public QObject {
  Q_OBJECT

 private slots:
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

  void keypadDecimalTypesTheLocaleSeparator() {
    Window w(NumberFormat{","});
    QLineEdit* txtC = w.Box("txtC");
    txtC->selectAll();
    QTest::keyClick(txtC, Qt::Key_0);
    QTest::keyClick(txtC, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClicks(txtC, "47");
    QCOMPARE(txtC->text(), QString("0,47"));
    QTest::keyClick(txtC, Qt::Key_Period);  // the main keyboard's "." is no separator here
    QCOMPARE(txtC->text(), QString("0"));
  }

  void commaLocaleReadsAndWritesComma() {
    Window w(NumberFormat{","});
    Paste(w.Box("txtC"), "0,47");
    Paste(w.Box("txtFreq"), "1");
    w.Get<QComboBox>("cboC")->setCurrentIndex(2);
    emit w.Get<QComboBox>("cboC")->activated(2);
    w.Get<QComboBox>("cboFreq")->setCurrentIndex(1);
    emit w.Get<QComboBox>("cboFreq")->activated(1);
    QCOMPARE(w.ReadOut(), QString("338,7993"));
  }

  // Run by CTest a second time with LC_ALL=ro_RO.UTF-8.
  void romanianLocaleFromTheSystem() {
    if (qgetenv("LC_ALL") != "ro_RO.UTF-8") QSKIP("run with LC_ALL=ro_RO.UTF-8");
    Window w(velmorida::SystemNumberFormat());
    Paste(w.Box("txtC"), "100");
    Paste(w.Box("txtFreq"), "1");
    w.Get<QComboBox>("cboC")->setCurrentIndex(1);
    emit w.Get<QComboBox>("cboC")->activated(1);
    w.Get<QComboBox>("cboFreq")->setCurrentIndex(1);
    emit w.Get<QComboBox>("cboFreq")->activated(1);
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

  void controlsStandWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("sizesToCaption");
    // Left, top, width, height in twips inside the frame, 15 twips a pixel.
    QTest::newRow("frame") << "fraVelmorida" << QRect(120, 120, 6495, 2775) << false;
    QTest::newRow("capacitance caption") << "lblEtichete1" << QRect(240, 480, 2940, 240) << true;
    QTest::newRow("capacitance box") << "txtC" << QRect(720, 900, 855, 360) << false;
    QTest::newRow("capacitance list") << "cboC" << QRect(1560, 900, 1095, 360) << false;
    QTest::newRow("frequency caption") << "lblEtichete2" << QRect(720, 1800, 1980, 240) << true;
    QTest::newRow("frequency box") << "txtFreq" << QRect(720, 2100, 855, 360) << false;
    QTest::newRow("frequency list") << "cboFreq" << QRect(1560, 2100, 1095, 360) << false;
    QTest::newRow("read-out caption") << "lblEtichete0" << QRect(3360, 1200, 2760, 240) << true;
    QTest::newRow("read-out") << "txtR" << QRect(3885, 1560, 1095, 375) << false;
    QTest::newRow("unit") << "lblUM" << QRect(5205, 1620, 435, 240) << true;
    QTest::newRow("signature") << "lblQZ9XK" << QRect(4320, 480, 900, 270) << true;
  }
  void controlsStandWhereTheLayoutPutsThem() {
    QFETCH(QString, control);
    QFETCH(QRect, twips);
    QFETCH(bool, sizesToCaption);
    Window w;
    const QWidget* widget = w.Get<QWidget>(control.toLatin1().constData());
    const QRect pixels(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    QCOMPARE(widget->pos(), pixels.topLeft());
    if (!sizesToCaption) {
      QCOMPARE(widget->size(), pixels.size());
      return;
    }
    // A label is as large as its caption in its font, which is close to the
    // size the layout drew it at with Verdana.
    QCOMPARE(widget->size(), widget->sizeHint());
    QVERIFY2(qAbs(widget->width() - pixels.width()) <= pixels.width() / 8,
             qPrintable(QString("width %1, layout %2").arg(widget->width()).arg(pixels.width())));
    QVERIFY2(
        qAbs(widget->height() - pixels.height()) <= 3,
        qPrintable(QString("height %1, layout %2").arg(widget->height()).arg(pixels.height())));
  }

  void windowHasTheLayoutsClientAreaAndColours() {
    Window w;
    QCOMPARE(w.form.size(), QSize(451, 201));
    QCOMPARE(w.form.palette().color(QPalette::Window), QColor(224, 224, 224));
    QCOMPARE(w.Box("txtC")->palette().color(QPalette::Base), QColor(192, 255, 192));
    QCOMPARE(w.Box("txtFreq")->palette().color(QPalette::Base), QColor(192, 255, 192));
    QCOMPARE(w.Box("txtR")->palette().color(QPalette::Base), QColor(255, 255, 128));
    QCOMPARE(w.form.font().family(), QString("Verdana"));
    QCOMPARE(w.form.font().pointSizeF(), 9.75);
    const QFont signature = w.Get<QLabel>("lblQZ9XK")->font();
    QCOMPARE(signature.pointSizeF(), 12.0);
    QVERIFY(signature.bold());
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

  // The boxes draw their frames from a cached picture; it must look exactly
  // like the style's own drawing, in every state the boxes are seen in.
  void cachedPanelsLookLikeTheStylesOwn_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("focused");
    QTest::newRow("capacitance") << "txtC" << false;
    QTest::newRow("capacitance focused") << "txtC" << true;
    QTest::newRow("read-out") << "txtR" << false;
    QTest::newRow("read-out focused") << "txtR" << true;
  }
  void cachedPanelsLookLikeTheStylesOwn() {
    QFETCH(QString, box);
    QFETCH(bool, focused);
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    QLineEdit* cached = w.Box(box.toLatin1().constData());
    QWidget* parent = cached->parentWidget();
    auto* plain = new QLineEdit(parent);  // the application's style, no cache
    plain->setGeometry(cached->geometry());
    plain->setPalette(cached->palette());
    plain->setReadOnly(cached->isReadOnly());
    plain->setText(cached->text());
    cached->hide();
    plain->show();
    (focused ? plain : static_cast<QWidget*>(w.Box("txtFreq")))->setFocus();
    plain->deselect();
    const QImage expected = plain->grab().toImage();
    plain->hide();
    cached->show();
    (focused ? cached : static_cast<QWidget*>(w.Box("txtFreq")))->setFocus();
    cached->setCursorPosition(plain->cursorPosition());
    cached->deselect();
    QCOMPARE(cached->grab().toImage(), expected);
  }
};

QTEST_MAIN(FrmVelmoridaTest)
#include "frm_velmorida_test.moc"
