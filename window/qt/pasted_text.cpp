#include "window/qt/pasted_text.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <optional>
#include <string>
#include <string_view>

#include "window/calculator.h"

namespace velmorida {
namespace {

// Newer Qt names the Paste entry of a text box's standard menu; Qt 6.4 does
// not, and there it is the entry with the caption QLineEdit gives it (the
// shortcut follows a tab).
constexpr const char* kPasteActionName = "edit-paste";

QAction* PasteEntryOf(const QMenu& menu) {
  const QString caption = QLineEdit::tr("&Paste");
  for (QAction* action : menu.actions()) {
    if (action->objectName() == QLatin1String(kPasteActionName) ||
        action->text().section(QLatin1Char('\t'), 0, 0) == caption) {
      return action;
    }
  }
  return nullptr;
}

// What the calculator lets a box insert of a pasted or dropped text, or
// nothing.
std::optional<QString> Fitted(const Calculator& calculator, layout::ControlId box,
                              const QString& text, Selection selection) {
  const QByteArray utf8 = text.toUtf8();
  const std::optional<std::string> kept = calculator.Insert(
      box, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), selection);
  if (!kept) return std::nullopt;
  return QString::fromStdString(*kept);
}

bool PastesFromSelection(const QMouseEvent& click) {
  return click.button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection();
}

}  // namespace

Selection SelectionOf(const QLineEdit& box) {
  if (!box.hasSelectedText()) return {box.cursorPosition(), box.cursorPosition()};
  return {box.selectionStart(), box.selectionStart() + box.selectionLength()};
}

PastedTextFilter::PastedTextFilter(QObject* parent, const Calculator& calculator)
    : QObject(parent), calculator_(calculator) {}

void PastedTextFilter::InsertPasted(QLineEdit* box, QClipboard::Mode mode) const {
  const std::optional<layout::ControlId> id = IdOf(box);
  if (!id) return;
  const std::optional<QString> text =
      Fitted(calculator_, *id, QGuiApplication::clipboard()->text(mode), SelectionOf(*box));
  if (text) box->insert(*text);
}

// The drop again, carrying what fits of the trimmed text; the box handles it
// as its own. A drop inserts at the point it is let go, never over the
// selection.
bool PastedTextFilter::DropTrimmed(QLineEdit* box, QDropEvent& drop) const {
  const std::optional<layout::ControlId> id = IdOf(box);
  if (!id) return false;
  const QString text = drop.mimeData()->text();
  const int landing = box->cursorPositionAt(drop.position().toPoint());
  const std::optional<QString> trimmed = Fitted(calculator_, *id, text, {landing, landing});
  if (!trimmed) {
    drop.ignore();
    return true;
  }
  if (*trimmed == text) return false;
  QMimeData data;
  data.setText(*trimmed);
  QDropEvent again(drop.position(), drop.possibleActions(), &data, drop.buttons(),
                   drop.modifiers());
  again.setDropAction(drop.dropAction());
  QCoreApplication::sendEvent(box, &again);
  drop.setDropAction(again.dropAction());
  drop.setAccepted(again.isAccepted());
  return true;
}

// The box's standard menu, with its Paste entry inserting the trimmed text.
void PastedTextFilter::ShowContextMenu(QLineEdit* box, const QContextMenuEvent& request) const {
  QMenu* menu = box->createStandardContextMenu();
  if (QAction* paste = PasteEntryOf(*menu)) {
    QObject::disconnect(paste, &QAction::triggered, box, nullptr);
    QObject::connect(paste, &QAction::triggered, box,
                     [this, box] { InsertPasted(box, QClipboard::Clipboard); });
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(request.globalPos());
}

void PastedTextFilter::Watch(QLineEdit* box, layout::ControlId id) {
  boxes_.emplace_back(box, id);
  box->installEventFilter(this);
}

std::optional<layout::ControlId> PastedTextFilter::IdOf(const QObject* box) const {
  for (const auto& [watched, id] : boxes_) {
    if (watched == box) return id;
  }
  return std::nullopt;
}

bool PastedTextFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr || box->isReadOnly()) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
      InsertPasted(box, QClipboard::Clipboard);
      return true;
    case QEvent::MouseButtonRelease:
      if (!PastesFromSelection(*static_cast<QMouseEvent*>(event))) return false;
      box->deselect();
      InsertPasted(box, QClipboard::Selection);
      return true;
    case QEvent::Drop:
      return DropTrimmed(box, *static_cast<QDropEvent*>(event));
    case QEvent::ContextMenu:
      ShowContextMenu(box, *static_cast<QContextMenuEvent*>(event));
      return true;
    default:
      return false;
  }
}

}  // namespace velmorida
