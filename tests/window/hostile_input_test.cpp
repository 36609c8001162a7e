// Pastes that no one means to make, into each box of the real window: huge,
// foreign, invisible, control and out-of-range texts. After each one the box
// holds its first six characters, corrected, and the read-out stays readable.
#include <QtTest>

#include "calc/form_state.h"
#include "tests/support/invariants.h"
#include "tests/window/window_fixture.h"
#include "window/handlers.h"

using velmorida::FormState;
using velmorida::Handlers;
using velmorida::InputBox;
using velmorida::NumberFormat;
using velmorida::testing::Paste;
using velmorida::testing::Window;

namespace {

const NumberFormat kDot{"."};

// What the core makes of a box given the first six characters of a text.
std::string CorrectedFirstSix(InputBox box, const QString& pasted) {
  FormState state;
  Handlers handlers(state, kDot, [] {});
  handlers.Form_Load();
  state.SetText(box, "9");
  state.SetText(box, pasted.toStdString());
  return state.Text(box);
}

}  // namespace

class HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void pasteIsCutCorrectedAndReadable_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    const QList<QPair<const char*, QString>> pastes = {
        {"ten thousand digits", QString(10000, QLatin1Char('7'))},
        {"ten thousand letters", QString(10000, QLatin1Char('x'))},
        {"negative ten thousand digits", QLatin1Char('-') + QString(9999, QLatin1Char('3'))},
        {"micro sign", QStringLiteral("4\u00B5")},
        {"arabic decimal separator", QStringLiteral("1\u066B5")},
        {"arabic-indic digits", QStringLiteral("\u0661\u0662")},
        {"full-width digits", QStringLiteral("\uFF11\uFF12\uFF13")},
        {"emoji", QStringLiteral("1\U0001F600")},
        {"emoji at the cut", QStringLiteral("1234\U0001F600")},
        {"right-to-left mark", QStringLiteral("\u200F5")},
        {"zero-width space", QStringLiteral("5\u200B")},
        {"no-break space", QStringLiteral("\u00A05")},
        {"control characters", QStringLiteral("\u0001\u0002\u001B")},
        {"newline inside", QStringLiteral("1\n2")},
        {"carriage return and newline", QStringLiteral("\r\n")},
        {"tab before digits", QStringLiteral("\t5")},
        {"nul", QString(QChar(0)) + QStringLiteral("5")},
        {"NaN", QStringLiteral("NaN")},
        {"inf", QStringLiteral("inf")},
        {"overflow", QStringLiteral("1e309")},
        {"negative overflow", QStringLiteral("-1e309")},
        {"underflow", QStringLiteral("1e-400")},
        {"subnormal", QStringLiteral("1e-310")},
    };
    for (const char* box : {"txtC", "txtFreq"}) {
      for (const auto& [name, text] : pastes) {
        const QString row = QString::fromLatin1(box) + QLatin1Char(' ') + QLatin1String(name);
        QTest::newRow(qPrintable(row)) << QString::fromLatin1(box) << text;
      }
    }
  }
  void pasteIsCutCorrectedAndReadable() {
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    Window w;
    Paste(w.Box("txtFreq"), QStringLiteral("1"));
    Paste(w.Box("txtC"), QStringLiteral("1"));
    const InputBox which = box == "txtC" ? InputBox::Capacitance : InputBox::Frequency;
    QLineEdit* edit = w.Box(box.toLatin1().constData());

    Paste(edit, pasted);

    const FormState& state = w.form.state();
    const std::string kept = state.Text(which);
    QCOMPARE(edit->text(), QString::fromStdString(kept));
    QCOMPARE(kept, CorrectedFirstSix(which, pasted.left(FormState::kInputMaxChars)));
    const std::string broken = velmorida::testing::BrokenStateInvariant(state, kDot);
    QVERIFY2(broken.empty(), broken.c_str());
    QCOMPARE(w.ReadOut(), QString::fromStdString(state.txtR));
    QCOMPARE(w.endCalls, 0);
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
