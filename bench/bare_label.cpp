// The baseline for start-up: the floor for a Qt Widgets window of the
// calculator's size, one label in a window resized to it before it is shown.
#include <QApplication>
#include <QLabel>

namespace {

// The calculator's client area, 6765 x 3015 twips at 96 dpi.
constexpr int kWidth = 451;
constexpr int kHeight = 201;

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QLabel label(QStringLiteral("Velmorida"));
  label.resize(kWidth, kHeight);
  label.show();
  return QApplication::exec();
}
