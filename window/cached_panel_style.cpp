#include "window/cached_panel_style.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace {

// The panels of three boxes in a few states each; more means something keeps
// changing (a resize, a palette), and the cache starts over.
constexpr qsizetype kMostPanels = 32;

// Everything the panel's picture depends on.
QString PanelKey(const QStyleOption& option, const QWidget& widget, qreal pixelRatio) {
  const QPalette& palette = option.palette;
  return QStringLiteral("%1x%2@%3 s%4 b%5 w%6 h%7 l%8")
      .arg(option.rect.width())
      .arg(option.rect.height())
      .arg(pixelRatio)
      .arg(static_cast<uint>(option.state))
      .arg(palette.color(QPalette::Base).rgba())
      .arg(palette.color(widget.backgroundRole()).rgba())
      .arg(palette.color(QPalette::Highlight).rgba())
      .arg(static_cast<const QStyleOptionFrame&>(option).lineWidth);
}

}  // namespace

CachedPanelStyle::CachedPanelStyle() : QProxyStyle(nullptr) {}

void CachedPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
  if (element != PE_PanelLineEdit || frame == nullptr || widget == nullptr ||
      widget->parentWidget() == nullptr) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  const qreal pixelRatio = painter->device()->devicePixelRatioF();
  const QString key = PanelKey(*option, *widget, pixelRatio);
  auto cached = panels_.constFind(key);
  if (cached == panels_.constEnd()) {
    if (panels_.size() >= kMostPanels) panels_.clear();
    // Drawn over the parent's background colour, so the picture is opaque
    // and its corners match what lies behind the box.
    QPixmap panel(option->rect.size() * pixelRatio);
    panel.setDevicePixelRatio(pixelRatio);
    panel.fill(widget->parentWidget()->palette().color(widget->parentWidget()->backgroundRole()));
    QPainter panelPainter(&panel);
    QStyleOptionFrame at(*frame);
    at.rect = QRect(QPoint(0, 0), option->rect.size());
    QProxyStyle::drawPrimitive(element, &at, &panelPainter, widget);
    panelPainter.end();
    cached = panels_.insert(key, panel);
  }
  painter->drawPixmap(option->rect.topLeft(), *cached);
}
