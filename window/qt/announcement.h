// A short message for screen readers, spoken once and without moving the
// focus. Qt 6.4 has no announcement call, and its AT-SPI bridge sends name
// and description changes without their text, which Orca cannot speak; Orca
// does speak a notification as it appears. So this is an empty, zero-sized
// widget in the role of a notification, shown again with each message as its
// name. Nothing of it is drawn.
#pragma once

#include <QWidget>

namespace velmorida {

class Announcement : public QWidget {
  Q_OBJECT

 public:
  explicit Announcement(QWidget* parent);

  void Say(const QString& message);
};

}  // namespace velmorida
