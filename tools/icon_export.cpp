// Build tool: turns the 32 x 32 XPM icon into the files a desktop wants: PNGs
// of the same pixels scaled up by whole factors, a scalable SVG with one
// rectangle per run of equal pixels, and a multi-size Windows .ico.
//
//   icon_export ICON.xpm OUTPUT_DIR BASENAME PNG_SIZE...
#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <QtEndian>
#include <cstdio>

namespace {

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

}  // namespace

int main(int argc, char* argv[]) {
  constexpr int kFirstSize = 4;
  if (argc <= kFirstSize) {
    std::fprintf(stderr, "usage: %s ICON.xpm OUTPUT_DIR BASENAME PNG_SIZE...\n", argv[0]);
    return 2;
  }
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
  QCoreApplication application(argc, argv);  // no display needed
  const QImage design =
      QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
  if (design.size() != QSize(kDesignSize, kDesignSize)) {
    std::fprintf(stderr, "%s is not a %d x %d image\n", argv[1], kDesignSize, kDesignSize);
    return 1;
  }
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
