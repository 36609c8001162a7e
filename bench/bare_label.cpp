// The baseline for start-up: the floor for a Qt Widgets window of the
// calculator's size that draws text, one caption in the calculator's font in
// a window resized to it before it is shown.
#include <QApplication>
#include <QLabel>

#include "window/layout.h"

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace velmorida::layout;
  QApplication application(argc, argv);
  QLabel label(FromUtf8(kCapacitanceCaption));
  QFont font(FromUtf8(kFont.family));
  font.setPointSizeF(kFont.centipoints / 100.0);
  label.setFont(font);
  label.resize(TwipsToPixels(kClientArea.width, kDesignDpi),
               TwipsToPixels(kClientArea.height, kDesignDpi));
  label.show();
  return QApplication::exec();
}
