// Pastes that no one means to make, into each box of the real window: huge,
// foreign, invisible, control and out-of-range texts. After each one the box
// holds what is written out below: its first six characters as they are when
// they make a non-negative number, their absolute value when negative, "0"
// otherwise; and the read-out stays readable.
#include <QtTest>

#include "calc/form_state.h"
#include "tests/support/invariants.h"
#include "tests/window/window_fixture.h"

using velmorida::FormState;
using velmorida::InputBox;
using velmorida::NumberFormat;
using velmorida::testing::Paste;
using velmorida::testing::Window;

namespace {

const NumberFormat kDot{"."};

}  // namespace

class HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { velmorida::InstallAccessibility(); }

  void pasteIsCutCorrectedAndReadable_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    struct Row {
      const char* name;
      QString pasted;
      const char* kept;
    };
    const Row rows[] = {
        {"ten thousand digits", QString(10000, QLatin1Char('7')), "777777"},
        {"ten thousand letters", QString(10000, QLatin1Char('x')), "0"},
        {"negative ten thousand digits", QLatin1Char('-') + QString(9999, QLatin1Char('3')),
         "33333"},
        {"micro sign", QStringLiteral("4\u00B5"), "0"},
        {"arabic decimal separator", QStringLiteral("1\u066B5"), "0"},
        {"arabic-indic digits", QStringLiteral("\u0661\u0662"), "0"},
        {"full-width digits", QStringLiteral("\uFF11\uFF12\uFF13"), "0"},
        {"emoji", QStringLiteral("1\U0001F600"), "0"},
        {"emoji at the cut", QStringLiteral("1234\U0001F600"), "0"},
        {"right-to-left mark", QStringLiteral("\u200F5"), "0"},
        {"zero-width space", QStringLiteral("5\u200B"), "0"},
        {"no-break space", QStringLiteral("\u00A05"), "0"},
        {"control characters", QStringLiteral("\u0001\u0002\u001B"), "0"},
        {"newline inside", QStringLiteral("1\n2"), "0"},
        {"carriage return and newline only", QStringLiteral("\r\n"), "0"},
        {"tab before digits", QStringLiteral("\t5"), "\t5"},
        {"nul", QString(QChar(0)) + QStringLiteral("5"), "0"},
        {"NaN", QStringLiteral("NaN"), "0"},
        {"inf", QStringLiteral("inf"), "0"},
        {"overflow", QStringLiteral("1e309"), "0"},
        {"negative overflow", QStringLiteral("-1e309"), "0"},
        {"underflow", QStringLiteral("1e-400"), "1e-400"},
        {"subnormal", QStringLiteral("1e-310"), "1e-310"},
    };
    for (const char* box : {"txtC", "txtFreq"}) {
      for (const Row& row : rows) {
        const QString name = QString::fromLatin1(box) + QLatin1Char(' ') + QLatin1String(row.name);
        QTest::newRow(qPrintable(name))
            << QString::fromLatin1(box) << row.pasted << QString::fromUtf8(row.kept);
      }
    }
  }
  void pasteIsCutCorrectedAndReadable() {
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    Window w;
    Paste(w.Box("txtFreq"), QStringLiteral("1"));
    Paste(w.Box("txtC"), QStringLiteral("1"));
    const InputBox which = box == "txtC" ? InputBox::Capacitance : InputBox::Frequency;
    QLineEdit* edit = w.Box(box.toLatin1().constData());

    Paste(edit, pasted);

    QCOMPARE(edit->text(), kept);
    const FormState& state = w.form.state();
    QCOMPARE(QString::fromStdString(state.Text(which)), kept);
    const std::string broken = velmorida::testing::BrokenStateInvariant(state, kDot);
    QVERIFY2(broken.empty(), broken.c_str());
    QCOMPARE(w.ReadOut(), QString::fromStdString(state.txtR));
    QCOMPARE(w.endCalls, 0);
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
