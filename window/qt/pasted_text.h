// What reaches an input box from the clipboard or a drop loses the line breaks
// at either end before the box sees it: a cell copied from a spreadsheet
// arrives as "470\n" and must read as 470. Typing is left alone, and so are
// blanks, which the number reader accepts as they are.
#pragma once

#include <QClipboard>
#include <QObject>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "window/calculator.h"
#include "window/layout.h"

class QContextMenuEvent;
class QDropEvent;
class QLineEdit;

namespace velmorida {

// The box's selection, or its caret, as the calculator counts it.
Selection SelectionOf(const QLineEdit& box);

// Watches input boxes and inserts what the user pastes (the paste key, the
// context menu's Paste, the middle button's selection on X11) or drops,
// without those line breaks, where and as the box itself would insert it:
// over the selection, at the caret, or where a drop lands; as much as the
// calculator finds room for.
class PastedTextFilter : public QObject {
  Q_OBJECT

 public:
  // The calculator decides what a paste inserts; it outlives the filter.
  PastedTextFilter(QObject* parent, const Calculator& calculator);

  void Watch(QLineEdit* box, layout::ControlId id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void InsertPasted(QLineEdit* box, QClipboard::Mode mode) const;
  bool DropTrimmed(QLineEdit* box, QDropEvent& drop) const;
  void ShowContextMenu(QLineEdit* box, const QContextMenuEvent& request) const;

  std::optional<layout::ControlId> IdOf(const QObject* box) const;

  const Calculator& calculator_;
  std::vector<std::pair<const QObject*, layout::ControlId>> boxes_;
};

}  // namespace velmorida
