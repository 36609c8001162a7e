// The baseline for start-up: the smallest Qt Widgets window, one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QLabel label(QStringLiteral("Velmorida"));
  label.show();
  return QApplication::exec();
}
