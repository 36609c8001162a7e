// A style for the calculator's text boxes that draws each box's panel (its
// frame and background) once per size and state and reuses the picture, so a
// keystroke repaints text, not frames. Everything else goes to the
// application's style unchanged.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QProxyStyle>

class CachedPanelStyle : public QProxyStyle {
 public:
  CachedPanelStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  mutable QHash<QString, QPixmap> panels_;
};
