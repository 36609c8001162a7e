// A style for the calculator's text boxes that draws each box's panel (its
// frame and background) once per size and state and reuses the picture, so a
// keystroke repaints text, not frames. Everything else goes to the
// application's style unchanged.
#pragma once

#include <QList>
#include <QPixmap>
#include <QProxyStyle>
#include <QRgb>
#include <QSize>
#include <utility>

class CachedPanelStyle : public QProxyStyle {
 public:
  CachedPanelStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  // Everything a panel's picture depends on.
  struct PanelKey {
    QSize size;
    qreal pixelRatio = 1;
    uint state = 0;
    QRgb base = 0;
    QRgb behind = 0;  // the parent's background, which fills the corners
    QRgb highlight = 0;
    int lineWidth = 0;
    bool operator==(const PanelKey&) const = default;
  };

  // A handful of entries, so a list searched in order beats hashing.
  mutable QList<std::pair<PanelKey, QPixmap>> panels_;
};
