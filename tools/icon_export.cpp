// Build tool: turns the 32 x 32 XPM icon into every icon the program is
// shown with, through Qt's QImage: for the desktop, PNGs of the same pixels
// scaled up by whole factors, a scalable SVG with one rectangle per run of
// equal pixels and a multi-size Windows .ico; for the web app, the PNGs of
// its table (tools/web_icons.h), opaque ones on the window's background.
//
//   icon_export ICON.xpm OUTPUT_DIR BASENAME PNG_SIZE...   the desktop's and Windows'
//   icon_export --web ICON.xpm OUTPUT_DIR                  the web app's
#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "tools/web_icons.h"

namespace {

namespace layout = velmorida::layout;
namespace web = velmorida::web;

constexpr int kDesignSize = 32;
// Windows picks among these; 16 and 48 are resampled smoothly.
constexpr int kIcoSizes[] = {16, 32, 48, 256};

QImage Scaled(const QImage& design, int size) {
  const Qt::TransformationMode mode =
      size % kDesignSize == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
  return design.scaled(size, size, Qt::IgnoreAspectRatio, mode);
}

bool WritePngs(const QImage& design, const QString& dir, const QString& base,
               const QList<int>& sizes) {
  for (int size : sizes) {
    const QString path = QStringLiteral("%1/%2-%3.png").arg(dir, base).arg(size);
    if (!Scaled(design, size).save(path, "PNG")) return false;
  }
  return true;
}

bool WriteSvg(const QImage& design, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  QTextStream out(&file);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kDesignSize << "\" height=\""
      << kDesignSize << "\" viewBox=\"0 0 " << kDesignSize << ' ' << kDesignSize
      << "\" shape-rendering=\"crispEdges\">\n";
  for (int y = 0; y < design.height(); ++y) {
    int x = 0;
    while (x < design.width()) {
      const QRgb pixel = design.pixel(x, y);
      int run = 1;
      while (x + run < design.width() && design.pixel(x + run, y) == pixel) ++run;
      if (qAlpha(pixel) != 0) {
        out << "  <rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << run
            << "\" height=\"1\" fill=\"" << QColor(pixel).name() << "\"/>\n";
      }
      x += run;
    }
  }
  out << "</svg>\n";
  return true;
}

// An .ico whose images are stored as PNG, which Windows reads from Vista on.
bool WriteIco(const QImage& design, const QString& path) {
  constexpr int kHeaderBytes = 6;
  constexpr int kEntryBytes = 16;
  constexpr int kIcoType = 1;
  constexpr int kBitsPerPixel = 32;
  constexpr int kLargestByteSize = 256;  // stored as 0
  QList<QByteArray> images;
  for (int size : kIcoSizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!Scaled(design, size).save(&buffer, "PNG")) return false;
    images.append(png);
  }
  QByteArray ico(kHeaderBytes + kEntryBytes * images.size(), '\0');
  auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, ico.data() + at); };
  auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, ico.data() + at); };
  put16(2, kIcoType);
  put16(4, static_cast<quint16>(images.size()));
  quint32 offset = static_cast<quint32>(ico.size());
  for (qsizetype i = 0; i < images.size(); ++i) {
    const int at = kHeaderBytes + kEntryBytes * static_cast<int>(i);
    const int size = kIcoSizes[i];
    ico[at] = static_cast<char>(size == kLargestByteSize ? 0 : size);
    ico[at + 1] = static_cast<char>(size == kLargestByteSize ? 0 : size);
    put16(at + 4, 1);  // colour planes
    put16(at + 6, kBitsPerPixel);
    put32(at + 8, static_cast<quint32>(images[i].size()));
    put32(at + 12, offset);
    offset += static_cast<quint32>(images[i].size());
  }
  for (const QByteArray& image : images) ico.append(image);
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

// The largest whole scale at which the design fills the icon's square, or at
// which its opaque pixels stay inside a maskable icon's safe circle.
int WebScale(const QImage& design, const web::WebIcon& icon) {
  const int square = icon.size / std::max(design.width(), design.height());
  if (icon.fit == web::Fit::Square) return square;
  // How far the farthest corner of an opaque pixel lies from the centre.
  double reach = 0;
  for (int y = 0; y < design.height(); ++y) {
    for (int x = 0; x < design.width(); ++x) {
      if (qAlpha(design.pixel(x, y)) == 0) continue;
      for (int cornerY : {y, y + 1}) {
        for (int cornerX : {x, x + 1}) {
          reach = std::max(
              reach, std::hypot(cornerX - design.width() / 2.0, cornerY - design.height() / 2.0));
        }
      }
    }
  }
  if (reach == 0) return square;
  return std::min(square, static_cast<int>(std::floor(web::kSafeRadiusShare * icon.size / reach)));
}

// The design centred at its scale, on the window's colour or transparent.
QImage DrawWebIcon(const QImage& design, const web::WebIcon& icon, const QColor& window) {
  const int scale = WebScale(design, icon);
  const QImage scaled =
      design.scaled(design.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QImage image(icon.size, icon.size, QImage::Format_ARGB32_Premultiplied);
  image.fill(icon.backdrop == web::Backdrop::Window ? window : QColor(Qt::transparent));
  QPainter painter(&image);
  painter.drawImage((icon.size - scaled.width()) / 2, (icon.size - scaled.height()) / 2, scaled);
  painter.end();
  return image;
}

bool WriteWebIcons(const QImage& design, const QString& dir) {
  const std::optional<layout::Rgb> background = web::WindowBackground();
  if (!background) {
    std::fprintf(stderr, "the window's background is the desktop's, not a colour of its own\n");
    return false;
  }
  const QColor window(background->red, background->green, background->blue);
  for (const web::WebIcon& icon : web::kWebIcons) {
    const QString path =
        dir + QLatin1Char('/') + QString::fromUtf8(icon.file.data(), icon.file.size());
    if (!DrawWebIcon(design, icon, window).save(path, "PNG")) return false;
  }
  return true;
}

// The design, or a null image when the file is not a 32 x 32 image.
QImage ReadDesign(const char* path) {
  const QImage design = QImage(QString::fromLocal8Bit(path)).convertToFormat(QImage::Format_ARGB32);
  if (design.size() != QSize(kDesignSize, kDesignSize)) {
    std::fprintf(stderr, "%s is not a %d x %d image\n", path, kDesignSize, kDesignSize);
    return {};
  }
  return design;
}

int Usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s ICON.xpm OUTPUT_DIR BASENAME PNG_SIZE...\n"
               "       %s --web ICON.xpm OUTPUT_DIR\n",
               program, program);
  return 2;
}

// The web app's icons into OUTPUT_DIR.
int ExportWeb(int argc, char* argv[]) {
  constexpr int kWebArguments = 4;
  if (argc != kWebArguments) return Usage(argv[0]);
  const QImage design = ReadDesign(argv[2]);
  if (design.isNull()) return 1;
  const QString dir = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(dir);
  if (!WriteWebIcons(design, dir)) {
    std::fprintf(stderr, "could not write the web app's icons into %s\n", argv[3]);
    return 1;
  }
  return 0;
}

// The desktop's PNGs at the given sizes, the SVG and the .ico into OUTPUT_DIR.
int ExportDesktop(int argc, char* argv[]) {
  constexpr int kFirstSize = 4;
  if (argc <= kFirstSize) return Usage(argv[0]);
  // Hicolor sizes; whole multiples of the design keep its pixels crisp.
  QList<int> pngSizes;
  for (int i = kFirstSize; i < argc; ++i) {
    bool number = false;
    const int size = QByteArray(argv[i]).toInt(&number);
    if (!number || size <= 0) {
      std::fprintf(stderr, "%s is not a size\n", argv[i]);
      return 2;
    }
    pngSizes.append(size);
  }
  const QImage design = ReadDesign(argv[1]);
  if (design.isNull()) return 1;
  const QString dir = QString::fromLocal8Bit(argv[2]);
  const QString base = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(dir);
  const bool written = WritePngs(design, dir, base, pngSizes) &&
                       WriteSvg(design, dir + QLatin1Char('/') + base + QStringLiteral(".svg")) &&
                       WriteIco(design, dir + QLatin1Char('/') + base + QStringLiteral(".ico"));
  if (!written) {
    std::fprintf(stderr, "could not write the icons into %s\n", argv[2]);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);  // no display needed
  if (argc > 1 && std::strcmp(argv[1], "--web") == 0) return ExportWeb(argc, argv);
  return ExportDesktop(argc, argv);
}
