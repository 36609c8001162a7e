// Keystroke latency through the real widgets: 10,000 keystrokes typed into the
// calculator's capacitance box, each followed by the event loop's pending work,
// which paints what changed. The baseline, in the same run, is a second
// calculator window whose handlers are cut off: the same widgets, where each
// keystroke sets the read-out (and the unit when it changes) to the figures
// the calculator shows for that text, looked up in a table made beforehand.
// The ratio is what the calculator's own code adds to a keystroke. The same
// keystrokes through the core alone (FormState and the handlers, no Qt) give
// the core's share.
#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "window/handlers.h"
#include "window/qt/frm_velmorida.h"

namespace {

constexpr int kKeystrokes = 10000;
// The keystrokes go in batches, alternately to the calculator and to the
// baseline, so that both see the same machine from moment to moment; the
// whole run is repeated, and medians over the paired batches are reported.
constexpr int kBatch = 500;
constexpr int kPasses = 3;
constexpr double kFrameMicros = 1e6 / 60;  // one frame at 60 Hz
constexpr double kGoalRatio = 1.10;

const velmorida::NumberFormat kDot{"."};

// Digits up to six characters, then Backspace and again: every kind of edit
// the box sees, each one a change event.
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

struct Figures {
  QString readOut;
  QString unit;
};

struct Controls {
  QLineEdit* txtC;
  QLineEdit* txtR;
  QLabel* lblUM;
};

Controls ControlsOf(velmorida::frmVelmorida& form) {
  return {form.findChild<QLineEdit*>(QStringLiteral("txtC")),
          form.findChild<QLineEdit*>(QStringLiteral("txtR")),
          form.findChild<QLabel*>(QStringLiteral("lblUM"))};
}

// 1 kHz and nF, so that the keystrokes change the read-out through Ohm, kOhm
// and MOhm, and it repaints.
void ChooseNanofaradAtOneKilohertz(velmorida::frmVelmorida& form) {
  auto* txtFreq = form.findChild<QLineEdit*>(QStringLiteral("txtFreq"));
  txtFreq->selectAll();
  QTest::keyClick(txtFreq, Qt::Key_1);
  QTest::keyClick(form.findChild<QWidget*>(QStringLiteral("cboC")), Qt::Key_Down);
  QTest::keyClick(form.findChild<QWidget*>(QStringLiteral("cboFreq")), Qt::Key_Down);
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

// The same texts through FormState and the handlers alone, microseconds each.
double CoreKeystroke(const std::vector<std::string>& texts) {
  velmorida::FormState state;
  velmorida::Handlers handlers(state, kDot, [] { return true; });
  handlers.Form_Load();
  state.cboC = "nF";
  state.cboFreq = "kHz";
  state.SetText(velmorida::InputBox::Frequency, "1");
  QElapsedTimer timer;
  timer.start();
  for (const std::string& text : texts) state.SetText(velmorida::InputBox::Capacitance, text);
  return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / static_cast<double>(texts.size());
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  velmorida::InstallAccessibility();
  const std::vector<Qt::Key> keys = KeySequence();

  // The window's construction, in two parts: starting the font database and
  // resolving Verdana (fontconfig reads its configuration and caches), which
  // any window that lays out text pays once; then everything else.
  QElapsedTimer construction;
  construction.start();
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSizeF(9.75);
  QFontMetrics(verdana).horizontalAdvance(QStringLiteral("Velmorida"));
  const double fontMillis = static_cast<double>(construction.nsecsElapsed()) / 1e6;
  construction.restart();
  velmorida::frmVelmorida calculator(kDot.decimal, [] { return true; });
  const double constructionMillis = static_cast<double>(construction.nsecsElapsed()) / 1e6;
  velmorida::frmVelmorida baseline(kDot.decimal, [] { return true; });
  for (velmorida::frmVelmorida* form : {&calculator, &baseline}) {
    ChooseNanofaradAtOneKilohertz(*form);
    form->show();
    if (!QTest::qWaitForWindowExposed(form)) {
      std::fprintf(stderr, "windows were not exposed\n");
      return 1;
    }
  }
  const Controls calc = ControlsOf(calculator);
  const Controls bare = ControlsOf(baseline);

  // The figures for every text the box goes through, from a first pass in
  // the calculator; the texts also feed the core's figure.
  QHash<QString, Figures> figures;
  std::vector<std::string> texts;
  const QMetaObject::Connection recording =
      QObject::connect(calc.txtC, &QLineEdit::textEdited, [&](const QString& text) {
        figures.insert(text, {calc.txtR->text(), calc.lblUM->text()});
        texts.push_back(text.toStdString());
      });
  TypeInto(calc.txtC, keys, 0, keys.size());
  QObject::disconnect(recording);

  // The baseline: the handlers' connection and the window's key filters go,
  // and each edit shows the recorded figures.
  QObject::disconnect(bare.txtC, &QLineEdit::textEdited, nullptr, nullptr);
  bare.txtC->removeEventFilter(&baseline);
  for (QObject* filter : baseline.findChildren<QObject*>(Qt::FindDirectChildrenOnly)) {
    bare.txtC->removeEventFilter(filter);
  }
  QObject::connect(bare.txtC, &QLineEdit::textEdited, [&](const QString& text) {
    const Figures& shown = figures[text];
    bare.txtR->setText(shown.readOut);
    bare.txtR->setCursorPosition(0);
    if (bare.lblUM->text() != shown.unit) {
      bare.lblUM->setText(shown.unit);
      bare.lblUM->adjustSize();
    }
  });

  std::vector<double> calculatorTimes;
  std::vector<double> bareTimes;
  std::vector<double> ratios;
  for (int pass = 0; pass < kPasses; ++pass) {
    for (std::size_t first = 0; first < keys.size(); first += kBatch) {
      bareTimes.push_back(TypeInto(bare.txtC, keys, first, kBatch));
      calculatorTimes.push_back(TypeInto(calc.txtC, keys, first, kBatch));
      ratios.push_back(calculatorTimes.back() / bareTimes.back());
    }
  }
  std::vector<double> coreTimes;
  for (int pass = 0; pass < kPasses; ++pass) coreTimes.push_back(CoreKeystroke(texts));

  const double window = Median(calculatorTimes);
  const double core = Median(coreTimes);
  std::printf("keystroke: %d keystrokes %d times, in alternating batches of %d, medians\n",
              kKeystrokes, kPasses, kBatch);
  std::printf("  calculator txtC            %8.2f us per keystroke (%.2f %% of a 60 Hz frame)\n",
              window, 100 * window / kFrameMicros);
  std::printf("  same widgets, no handlers  %8.2f us per keystroke\n", Median(bareTimes));
  std::printf("  ratio                      %8.2f x (goal: at most %.2f x)\n", Median(ratios),
              kGoalRatio);
  std::printf("  core alone                 %8.3f us per keystroke (%.2f %% of the calculator's)\n",
              core, 100 * core / window);
  std::printf("construction: font database and Verdana %.1f ms, then the window %.1f ms\n",
              fontMillis, constructionMillis);
  return 0;
}
