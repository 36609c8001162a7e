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
// The keystrokes go in batches, alternately to the calculator and to the bare
// box, so that both see the same machine from moment to moment; the whole
// run is repeated, and medians over the paired batches are reported.
constexpr int kBatch = 500;
constexpr int kPasses = 3;

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

// Microseconds per keystroke over keys [first, first + count); after each,
// the event loop's pending work runs, which paints whatever the keystroke
// changed, as it would for a user.
double TypeInto(QLineEdit* box, const std::vector<Qt::Key>& keys, std::size_t first,
                std::size_t count) {
  box->setFocus();
  QElapsedTimer timer;
  timer.start();
  for (std::size_t i = first; i < first + count; ++i) {
    QTest::keyClick(box, keys[i]);
    QCoreApplication::processEvents();
  }
  return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / static_cast<double>(count);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::vector<Qt::Key> keys = KeySequence();

  // Construction alone, for the start-up figures: controls, fonts, icon,
  // start-up handler and first render.
  QElapsedTimer construction;
  construction.start();
  velmorida::frmVelmorida calculator(velmorida::NumberFormat{"."}, [] {});
  const double constructionMillis = static_cast<double>(construction.nsecsElapsed()) / 1e6;
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
  std::vector<double> ratios;
  for (int pass = 0; pass < kPasses; ++pass) {
    for (std::size_t first = 0; first < keys.size(); first += kBatch) {
      bareTimes.push_back(TypeInto(&bare, keys, first, kBatch));
      calculatorTimes.push_back(TypeInto(txtC, keys, first, kBatch));
      ratios.push_back(calculatorTimes.back() / bareTimes.back());
    }
  }
  std::printf("keystroke: %d keystrokes %d times, in alternating batches of %d, medians\n",
              kKeystrokes, kPasses, kBatch);
  std::printf("  calculator txtC   %8.2f us per keystroke\n", Median(calculatorTimes));
  std::printf("  bare QLineEdit    %8.2f us per keystroke\n", Median(bareTimes));
  std::printf("  ratio             %8.2f x (goal: at most 1.5 x)\n", Median(ratios));
  std::printf("window construction: %.1f ms\n", constructionMillis);
  return 0;
}
