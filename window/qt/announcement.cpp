#include "window/qt/announcement.h"

namespace velmorida {
Announcement::Announcement(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("announcement"));
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
