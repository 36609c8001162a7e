#include "window/qt/announcement.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace velmorida {
namespace {

constexpr const char* kObjectName = "announcement";

QAccessibleInterface* NotificationRole(const QString& /*className*/, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr || widget->objectName() != QLatin1String(kObjectName)) return nullptr;
  return new QAccessibleWidget(widget, QAccessible::Notification);
}

}  // namespace

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
  static const bool roleKnown = [] {
    QAccessible::installFactory(&NotificationRole);
    return true;
  }();
  Q_UNUSED(roleKnown);
  setObjectName(QLatin1String(kObjectName));
  setFocusPolicy(Qt::NoFocus);
  resize(0, 0);
  hide();
}

void Announcement::Say(const QString& message) {
  if (message.isEmpty()) return;
  hide();
  setAccessibleName(message);
  show();
}

}  // namespace velmorida
