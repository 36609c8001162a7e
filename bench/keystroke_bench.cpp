// Keystroke latency through the real widgets: 10,000 keystrokes typed into the
// calculator's capacitance box, read-out rendered and painted after each, and
// the same keystrokes into a bare QLineEdit in the same run, as the baseline.
// Prints microseconds per keystroke for both and their ratio.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "window/frm_velmorida.h"

namespace {

constexpr int kKeystrokes = 10000;
constexpr int kRounds = 9;  // alternating, the median round is reported

// Digits up to six characters, then Backspace down to empty and again: every
// kind of edit the box sees, each one a change event.
std::vector<Qt::Key> KeySequence() {
  const Qt::Key pattern[] = {
      Qt::Key_1,         Qt::Key_0,         Qt::Key_0,         Qt::Key_4,         Qt::Key_7,
      Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_2};
  std::vector<Qt::Key> keys;
  while (keys.size() < static_cast<std::size_t>(kKeystrokes)) {
    for (Qt::Key key : pattern) keys.push_back(key);
  }
  keys.resize(kKeystrokes);
  return keys;
}

// Microseconds per keystroke; after each, the event loop's pending work runs,
// which paints whatever the keystroke changed, as it would for a user.
double TypeInto(QLineEdit* box, const std::vector<Qt::Key>& keys) {
  box->setFocus();
  QElapsedTimer timer;
  timer.start();
  for (Qt::Key key : keys) {
    QTest::keyClick(box, key);
    QCoreApplication::processEvents();
  }
  return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / static_cast<double>(keys.size());
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::vector<Qt::Key> keys = KeySequence();

  velmorida::frmVelmorida calculator(velmorida::NumberFormat{"."}, [] {});
  calculator.show();
  auto* txtC = calculator.findChild<QLineEdit*>(QStringLiteral("txtC"));
  // 1 kHz and nF, so every keystroke changes the read-out, through Ohm, kOhm
  // and MOhm, and it repaints.
  auto* txtFreq = calculator.findChild<QLineEdit*>(QStringLiteral("txtFreq"));
  txtFreq->selectAll();
  QTest::keyClick(txtFreq, Qt::Key_1);
  auto* cboC = calculator.findChild<QWidget*>(QStringLiteral("cboC"));
  auto* cboFreq = calculator.findChild<QWidget*>(QStringLiteral("cboFreq"));
  QTest::keyClick(cboC, Qt::Key_Down);
  QTest::keyClick(cboFreq, Qt::Key_Down);

  // The baseline box: same size, font and length limit as txtC, alone in a
  // plain window of the calculator's size, so only the work differs.
  QWidget bareWindow;
  bareWindow.setFixedSize(calculator.size());
  bareWindow.setFont(calculator.font());
  QLineEdit bare(&bareWindow);
  bare.setGeometry(txtC->geometry());
  bare.setMaxLength(velmorida::FormState::kInputMaxChars);
  bareWindow.show();
  if (!QTest::qWaitForWindowExposed(&calculator) || !QTest::qWaitForWindowExposed(&bareWindow)) {
    std::fprintf(stderr, "windows were not exposed\n");
    return 1;
  }

  std::vector<double> calculatorTimes;
  std::vector<double> bareTimes;
  for (int round = 0; round < kRounds; ++round) {
    bareTimes.push_back(TypeInto(&bare, keys));
    calculatorTimes.push_back(TypeInto(txtC, keys));
  }
  const double calculatorMicros = Median(calculatorTimes);
  const double bareMicros = Median(bareTimes);
  std::printf("keystroke: %d keystrokes, median of %d rounds\n", kKeystrokes, kRounds);
  std::printf("  calculator txtC   %8.2f us per keystroke\n", calculatorMicros);
  std::printf("  bare QLineEdit    %8.2f us per keystroke\n", bareMicros);
  std::printf("  ratio             %8.2f x (goal: at most 1.5 x)\n", calculatorMicros / bareMicros);
  return 0;
}
