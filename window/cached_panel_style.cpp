#include "window/cached_panel_style.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace {

// The panels of three boxes in a few states each; more means something keeps
// changing (a resize, a palette), and the cache starts over.
constexpr qsizetype kMostPanels = 32;

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
  const QWidget& parent = *widget->parentWidget();
  const QColor behind = parent.palette().color(parent.backgroundRole());
  const PanelKey key{option->rect.size(),
                     pixelRatio,
                     static_cast<uint>(option->state),
                     option->palette.color(QPalette::Base).rgba(),
                     behind.rgba(),
                     option->palette.color(QPalette::Highlight).rgba(),
                     frame->lineWidth};
  for (const auto& [known, panel] : panels_) {
    if (known == key) {
      painter->drawPixmap(option->rect.topLeft(), panel);
      return;
    }
  }
  if (panels_.size() >= kMostPanels) panels_.clear();
  // Drawn over the parent's background colour, so the picture is opaque and
  // its corners match what lies behind the box.
  QPixmap panel(option->rect.size() * pixelRatio);
  panel.setDevicePixelRatio(pixelRatio);
  panel.fill(behind);
  QPainter panelPainter(&panel);
  QStyleOptionFrame at(*frame);
  at.rect = QRect(QPoint(0, 0), option->rect.size());
  QProxyStyle::drawPrimitive(element, &at, &panelPainter, widget);
  panelPainter.end();
  panels_.append({key, panel});
  painter->drawPixmap(option->rect.topLeft(), panel);
}
