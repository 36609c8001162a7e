// What reaches an input box from the clipboard or a drop loses the line breaks
// at either end before the box sees it: a cell copied from a spreadsheet
// arrives as "470\n" and must read as 470. Typing is left alone, and so are
// blanks, which the number reader accepts as they are.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace velmorida {

// Watches input boxes and inserts what the user pastes (the paste key, the
// context menu's Paste, the middle button's selection on X11) or drops,
// without those line breaks, where and as the box itself would insert it:
// over the selection, at the caret, up to the box's length limit.
class PastedTextFilter : public QObject {
  Q_OBJECT

 public:
  explicit PastedTextFilter(QObject* parent);

  void Watch(QLineEdit* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmorida
