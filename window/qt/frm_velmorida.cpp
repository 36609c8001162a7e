#include "window/qt/frm_velmorida.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>
#include <string_view>
#include <variant>

#include "resources/velmorida.xpm"
#include "velmorida_version.h"
#include "window/colours.h"
#include "window/layout.h"
#include "window/qt/accessible_text_box.h"
#include "window/qt/announcement.h"
#include "window/qt/pasted_text.h"

namespace velmorida {
namespace {

using layout::ControlId;

// Qt scales device-independent pixels to the screen itself, so the layout is
// taken at the dpi of its design.
QRect ToPixels(const layout::Twips& t) {
  const layout::Pixels p = layout::ToPixels(t, layout::kDesignDpi);
  return {p.left, p.top, p.width, p.height};
}

QColor ColourOf(const layout::Rgb& rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont FontOf(const layout::Font& font) {
  QFont qfont(QString::fromUtf8(font.family.data(), static_cast<qsizetype>(font.family.size())));
  qfont.setPointSizeF(font.centipoints / 100.0);
  qfont.setWeight(font.weight >= QFont::Bold ? QFont::Bold : QFont::Normal);
  return qfont;
}

constexpr int kInstalledIconSizes[] = {VELMORIDA_ICON_SIZES};
// A title bar and a window switcher use the icon at up to 64 pixels at 96
// and 192 dpi; the larger ones would add a megabyte at start-up for nothing
// a window shows.
constexpr int kLargestWindowIcon = 64;

// Qt's codes for keys without a character start here.
constexpr int kFirstSpecialKey = Qt::Key_Escape;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt 6.4 tells an application nothing of a high-contrast setting, and a
// Linux desktop's high-contrast themes are ordinary palettes: the window
// keeps its own colours there too, which are legible on their own.
constexpr colours::Contrast kDesktopContrast = colours::Contrast::Ordinary;

QPalette::ColorRole RoleOf(colours::DesktopRole role) {
  switch (role) {
    case colours::DesktopRole::Face:
      return QPalette::Window;
    case colours::DesktopRole::FaceText:
      return QPalette::WindowText;
    case colours::DesktopRole::Field:
      return QPalette::Base;
    case colours::DesktopRole::FieldText:
      return QPalette::Text;
    case colours::DesktopRole::Highlight:
      return QPalette::Highlight;
    case colours::DesktopRole::HighlightText:
      return QPalette::HighlightedText;
  }
  return QPalette::Window;
}

QColor Resolve(const colours::Colour& colour, const QPalette& desktop) {
  if (const auto* role = std::get_if<colours::DesktopRole>(&colour)) {
    return desktop.color(RoleOf(*role));
  }
  return ColourOf(std::get<layout::Rgb>(colour));
}

// Every role a widget of ours draws text or a background with, so that no
// colour of the desktop's theme mixes with the window's own: a label is
// drawn in Window/WindowText, a box in Base/Text, a closed list in
// Button/ButtonText, an open list's items in Base/Text, a selection and the
// focus frame in Highlight.
QPalette PaletteOf(const colours::ControlColours& c) {
  const QPalette desktop = QGuiApplication::palette();
  const QColor background = Resolve(c.background, desktop);
  const QColor text = Resolve(c.text, desktop);
  // The bevels and frame lines (Light, Mid, Dark, Shadow) are shaded from
  // the control's own background, not from the desktop's.
  QPalette palette(background);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
                                   QPalette::Button, QPalette::ToolTipBase}) {
    palette.setColor(role, background);
  }
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                   QPalette::ToolTipText, QPalette::PlaceholderText}) {
    palette.setColor(role, text);
  }
  palette.setColor(QPalette::Highlight, Resolve(c.selection, desktop));
  palette.setColor(QPalette::HighlightedText, Resolve(c.selectionText, desktop));
  return palette;
}

void Paint(QWidget* widget, const colours::ControlColours& c) {
  const QPalette palette = PaletteOf(c);
  if (widget->palette() != palette || widget->palette().resolveMask() != palette.resolveMask()) {
    widget->setPalette(palette);
  }
}

QLabel* MakeLabel(QWidget* parent, const layout::Control& control) {
  auto* label = new QLabel(FromUtf8(control.caption), parent);
  if (control.font != &layout::kFont) label->setFont(FontOf(*control.font));
  label->move(ToPixels(control.place).topLeft());
  label->adjustSize();  // a label sizes itself to its caption
  return label;
}

QLineEdit* MakeBox(QWidget* parent, const layout::Control& control) {
  auto* box = new QLineEdit(parent);
  box->setGeometry(ToPixels(control.place));
  if (control.kind == layout::ControlKind::ReadOut) {
    box->setReadOnly(true);  // selectable and copyable, never typed into
  } else {
    box->setMaxLength(Calculator::kBoxMaxLength);
  }
  return box;
}

QComboBox* MakeList(QWidget* parent, const layout::Control& control) {
  auto* list = new QComboBox(parent);
  list->setGeometry(ToPixels(control.place));
  list->setEditable(false);
  for (std::string_view item : Calculator::ItemsOf(control.id)) list->addItem(FromUtf8(item));
  list->setCurrentIndex(-1);  // nothing is chosen until start-up
  return list;
}

QWidget* MakeControl(QWidget* parent, const layout::Control& control) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case layout::ControlKind::Label:
      widget = MakeLabel(parent, control);
      break;
    case layout::ControlKind::InputBox:
    case layout::ControlKind::ReadOut:
      widget = MakeBox(parent, control);
      break;
    case layout::ControlKind::UnitList:
      widget = MakeList(parent, control);
      break;
  }
  widget->setObjectName(FromUtf8(control.name));
  return widget;
}

// Where the calculator puts a box's caret.
void PlaceCaret(QLineEdit* box, Caret caret) {
  switch (caret) {
    case Caret::Kept:
      break;
    case Caret::SelectAll:
      box->selectAll();
      break;
    case Caret::AtEnd:
      box->end(false);
      break;
    case Caret::AtStart:
      box->setCursorPosition(0);
      break;
  }
}

// The key as the calculator's rules know it. The keypad's decimal key types
// a period or a comma, whichever the keyboard layout prints on it; with Num
// Lock off it is Delete.
Key KeyOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  Key key;
  key.control = modifiers.testFlag(Qt::ControlModifier);
  key.shift = modifiers.testFlag(Qt::ShiftModifier);
  key.alt = modifiers.testFlag(Qt::AltModifier);
  key.meta = modifiers.testFlag(Qt::MetaModifier);
  key.escape = event.key() == Qt::Key_Escape;
  key.keypadDecimal = modifiers.testFlag(Qt::KeypadModifier) &&
                      (event.key() == Qt::Key_Period || event.key() == Qt::Key_Comma);
  if (event.key() < kFirstSpecialKey) key.character = static_cast<char32_t>(event.key());
  return key;
}

// What the calculator's widgets are to assistive technology, by class. Qt
// calls a plain top-level QWidget a filler, and a QFrame a frame, the role of
// a top-level window: Orca then takes the frame for the window that owns the
// controls, finds it inactive and ignores every event from inside it. The
// announcement is a notification, and the text boxes give their whole text.
QAccessibleInterface* CalculatorRoles(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const auto isClass = [&className](const QMetaObject& meta) {
    return className == QLatin1String(meta.className());
  };
  const bool inCalculator = qobject_cast<frmVelmorida*>(widget->window()) != nullptr;
  if (isClass(frmVelmorida::staticMetaObject)) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  if (isClass(Announcement::staticMetaObject)) {
    return new QAccessibleWidget(widget, QAccessible::Notification);
  }
  if (isClass(QFrame::staticMetaObject) && qobject_cast<frmVelmorida*>(widget->parentWidget())) {
    return new QAccessibleWidget(widget, QAccessible::Grouping);
  }
  if (isClass(QLineEdit::staticMetaObject) && inCalculator) {
    return new AccessibleTextBox(static_cast<QLineEdit*>(widget));
  }
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  QAccessible::installFactory(&CalculatorRoles);
}

frmVelmorida::frmVelmorida(std::string decimalSeparator, Calculator::EndProgram endProgram,
                           QWidget* parent)
    : QWidget(parent),
      calculator_(std::move(decimalSeparator), [this] { return EndProgram(); }),
      endProgram_(std::move(endProgram)) {
  SetUpWindow();
  BuildControls();
  NameForScreenReaders();
  ApplyTabOrder();
  ConnectUserEdits();
  WatchKeys();
  Render();
  const Focus first = calculator_.FirstFocus();
  Widget(first.control)->setFocus();
  if (layout::RowOf(first.control).kind == layout::ControlKind::InputBox) {
    PlaceCaret(Box(first.control), first.caret);
  }
}

frmVelmorida::~frmVelmorida() = default;

void frmVelmorida::SetUpWindow() {
  setObjectName(FromUtf8(layout::kWindowName));
  setWindowTitle(FromUtf8(layout::kCaption));
  // The built-in picture, read by Qt's own XPM reader with no plugin; the
  // installed ones, larger, replace it after the first frame
  // (UseInstalledIcon).
  setWindowIcon(QIcon(QPixmap(velmorida_xpm)));
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  setFixedSize(ToPixels(layout::kClientArea).size());
  setAutoFillBackground(true);
  setFont(FontOf(layout::kFont));
}

// The installed icons are read after the first frame, which does not need
// them.
void frmVelmorida::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (installedIconAsked_) return;
  installedIconAsked_ = true;
  QTimer::singleShot(0, this, [this] { UseInstalledIcon(); });
}

// The icons installed under the program's id (its desktop entry's name), in
// the folders the desktop's icon theme reads; larger than the built-in one.
// They are found by path, a few file look-ups, without starting Qt's
// icon-theme engine.
void frmVelmorida::UseInstalledIcon() {
  const QString id = QGuiApplication::desktopFileName();
  if (id.isEmpty()) return;
  QIcon installed;
  for (int size : kInstalledIconSizes) {
    if (size > kLargestWindowIcon) continue;
    const QString path =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id));
    if (!path.isEmpty()) installed.addFile(path, QSize(size, size));
  }
  if (!installed.isNull()) setWindowIcon(installed);
}

// The layout's control a widget is, if it is one (not the window or an open
// list's popup).
std::optional<ControlId> frmVelmorida::ControlAt(const QObject* widget) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == widget) return layout::kControls[i].id;
  }
  return std::nullopt;
}

QLineEdit* frmVelmorida::Box(ControlId id) const {
  return static_cast<QLineEdit*>(Widget(id));  // made as one by its kind
}

QComboBox* frmVelmorida::List(ControlId id) const {
  return static_cast<QComboBox*>(Widget(id));
}

void frmVelmorida::BuildControls() {
  fraVelmorida_ = new QFrame(this);
  fraVelmorida_->setObjectName(FromUtf8(layout::kFrameName));
  fraVelmorida_->setGeometry(ToPixels(layout::kFrame));
  fraVelmorida_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    controls_[i] = MakeControl(fraVelmorida_, layout::kControls[i]);
  }
  announcement_ = new Announcement(this);
  ApplyColours();
}

// The window, frame and labels first: a child's own palette is set after its
// parent's, so what it inherits never overrides the rule.
void frmVelmorida::ApplyColours() {
  if (applyingColours_) return;
  applyingColours_ = true;
  Paint(this, colours::WindowColours(kDesktopContrast));
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    Paint(controls_[i], colours::ColoursOf(layout::kControls[i].kind, kDesktopContrast));
  }
  for (const layout::Control& control : layout::kControls) {
    if (control.kind == layout::ControlKind::UnitList) PaintPopup(List(control.id));
  }
  applyingColours_ = false;
}

// An open list is a window of its own, which not every style gives the
// list's palette; it is drawn as the list is, once Qt has made it.
void frmVelmorida::PaintPopup(QComboBox* list) {
  auto* view = list->findChild<QAbstractItemView*>();
  if (view == nullptr) return;
  const colours::ControlColours c =
      colours::ColoursOf(layout::ControlKind::UnitList, kDesktopContrast);
  Paint(view->window(), c);
  Paint(view, c);
}

// A theme changed while the window runs: the desktop's roles the rule names
// are read again. The window hears of a change before the change is done
// with its children (qt6ct gives them the new scheme's palette after that),
// so the colours are put back once the events the change raised are
// handled, once for all of them. Setting the palettes raises PaletteChange
// here again, which ApplyColours ignores while it runs.
void frmVelmorida::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ApplicationPaletteChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::ThemeChange:
      if (fraVelmorida_ != nullptr && !applyingColours_ && !coloursPending_) {
        coloursPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
              coloursPending_ = false;
              ApplyColours();
            },
            Qt::QueuedConnection);
      }
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

// A caption is the buddy of the box or read-out it names (Alt and its
// letter would reach it, and screen readers read it as the box's label).
// On Linux a list's accessible name is its current item, so its caption also
// goes into the description, which screen readers read after it.
void frmVelmorida::NameForScreenReaders() {
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    const layout::Control& control = layout::kControls[i];
    if (!control.namedBy) continue;
    const QString name = FromUtf8(layout::AccessibleNameOf(control.id));
    controls_[i]->setAccessibleName(name);
    if (control.kind == layout::ControlKind::UnitList) {
      controls_[i]->setAccessibleDescription(name);
    } else {
      static_cast<QLabel*>(Widget(*control.namedBy))->setBuddy(controls_[i]);
    }
  }
}

void frmVelmorida::ApplyTabOrder() {
  QWidget* previous = nullptr;
  for (ControlId id : layout::kTabOrder) {
    if (previous != nullptr) setTabOrder(previous, Widget(id));
    previous = Widget(id);
  }
}

// textEdited and activated come from the user only, so the window's own
// updates in Render never come back here as edits.
void frmVelmorida::ConnectUserEdits() {
  for (const layout::Control& control : layout::kControls) {
    const ControlId id = control.id;
    if (control.kind == layout::ControlKind::InputBox) {
      connect(Box(id), &QLineEdit::textEdited, this,
              [this, id](const QString& text) { OnBoxEdited(id, text); });
    }
    if (control.kind == layout::ControlKind::UnitList) {
      connect(List(id), &QComboBox::activated, this,
              [this, id](int item) { OnUnitChosen(id, item); });
    }
  }
}

void frmVelmorida::WatchKeys() {
  // Pastes and drops into the boxes lose their edge line breaks. The last
  // filter installed runs first, so the window still sees every key first.
  auto* pasted = new PastedTextFilter(this, calculator_);
  for (const layout::Control& control : layout::kControls) {
    if (control.kind == layout::ControlKind::InputBox) pasted->Watch(Box(control.id), control.id);
  }
  // A list's popup is made the first time it opens; eventFilter watches it
  // from then on (see WatchPopup).
  for (ControlId id : layout::kTabOrder) Widget(id)->installEventFilter(this);
  installEventFilter(this);
}

// A list makes its popup window on first use and is told when the popup is
// ready (ChildPolished); only then is the popup's view watched, so that
// start-up does not build two popups that may never open. Watching it last
// lets Escape reach this window before the popup closes itself.
void frmVelmorida::WatchPopup(QObject* watched, QEvent* event) {
  auto* list = qobject_cast<QComboBox*>(watched);
  const QObject* child = static_cast<QChildEvent*>(event)->child();
  if (list == nullptr || !child->isWidgetType() ||
      !static_cast<const QWidget*>(child)->isWindow()) {
    return;
  }
  list->view()->installEventFilter(this);
  PaintPopup(list);
}

// A click or a tap that gives a box the focus selects its text where the
// calculator says so (a lone "0"), once the box has placed its caret, as the
// button is let go.
void frmVelmorida::WatchPointerFocus(QObject* watched, QEvent* event) {
  const std::optional<ControlId> id = ControlAt(watched);
  if (!id || layout::RowOf(*id).kind != layout::ControlKind::InputBox) return;
  if (event->type() == QEvent::FocusIn) {
    focusedByPointer_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
  } else if (focusedByPointer_) {
    focusedByPointer_ = false;
    if (calculator_.SelectsOnPointerFocus(*id)) static_cast<QLineEdit*>(watched)->selectAll();
  }
}

bool frmVelmorida::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildPolished) WatchPopup(watched, event);
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease) {
    WatchPointerFocus(watched, event);
  }
  if (event->type() == QEvent::KeyPress && OnKey(watched, static_cast<const QKeyEvent&>(*event))) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// Every key reaches the window before the focused control; returns true
// when it goes no further.
bool frmVelmorida::OnKey(QObject* watched, const QKeyEvent& key) {
  const KeyOutcome outcome = calculator_.Press(KeyOf(key), ControlAt(watched));
  switch (outcome.action) {
    case KeyAction::SpeakResult:
      Say(outcome.text);
      break;
    case KeyAction::InsertSeparator:
      InsertSeparator(watched, key, outcome.text);
      break;
    case KeyAction::None:
    case KeyAction::End:
      break;
  }
  return outcome.Consumed();
}

// As much of the separator as the box has room for, typed as the key itself
// would be, so that the box's undo treats it as any other character.
void frmVelmorida::InsertSeparator(QObject* watched, const QKeyEvent& key,
                                   const std::string& separator) {
  const std::optional<ControlId> id = ControlAt(watched);
  if (!id) return;
  const std::optional<std::string> fitted =
      calculator_.Insert(*id, separator, SelectionOf(*Box(*id)));
  if (!fitted || fitted->empty()) return;
  QKeyEvent typed(QEvent::KeyPress, key.key(), key.modifiers() & ~Qt::KeypadModifier,
                  FromUtf8(*fitted), key.isAutoRepeat());
  QCoreApplication::sendEvent(watched, &typed);
}

void frmVelmorida::OnBoxEdited(ControlId id, const QString& text) {
  const EditOutcome outcome = calculator_.Edit(id, text.toStdString());
  Render();
  // A new figure is spoken; the keystroke's echo comes from the screen reader.
  Say(outcome.spoken);
  PlaceCaret(Box(id), outcome.caret);
}

void frmVelmorida::OnUnitChosen(ControlId id, int item) {
  const std::string said = calculator_.ChooseUnit(id, item);
  Render();
  // Orca does not speak a Qt list's new item, so the list says it itself.
  Say(said);
}

void frmVelmorida::Say(const std::string& message) {
  announcement_->Say(FromUtf8(message));
}

namespace {

// Setting a box's text moves its caret to the end and drops the selection,
// so a box is only given a text it does not show already. Returns whether
// it changed.
bool ShowText(QLineEdit* box, std::string_view text) {
  const QString shown = FromUtf8(text);
  if (box->text() == shown) return false;
  box->setText(shown);
  return true;
}

void ShowItem(QComboBox* list, int item) {
  if (list->currentIndex() != item) list->setCurrentIndex(item);
}

void ShowCaption(QLabel* label, std::string_view text) {
  const QString caption = FromUtf8(text);
  if (label->text() == caption) return;
  label->setText(caption);
  label->adjustSize();  // widens for "kOhm" and "MOhm", keeping its left edge
}

}  // namespace

// Lists and visibility ignore a value they already have; a box is only
// written when its text changes.
void frmVelmorida::Render() {
  const View view = calculator_.Render();
  for (const ControlView& shown : view.controls) {
    QWidget* widget = Widget(shown.id);
    switch (layout::RowOf(shown.id).kind) {
      case layout::ControlKind::InputBox:
      case layout::ControlKind::ReadOut:
        if (ShowText(Box(shown.id), shown.text)) PlaceCaret(Box(shown.id), shown.caretOnNewText);
        break;
      case layout::ControlKind::UnitList:
        ShowItem(List(shown.id), shown.item);
        break;
      case layout::ControlKind::Label:
        ShowCaption(static_cast<QLabel*>(widget), shown.text);
        break;
    }
    widget->setVisible(shown.visible);
  }
  // Screen readers read a control's description with it: the read-out's unit.
  for (const layout::Control& control : layout::kControls) {
    if (!control.describedBy) continue;
    const QString description = FromUtf8(view.TextOf(*control.describedBy));
    QWidget* widget = Widget(control.id);
    if (widget->accessibleDescription() != description) {
      widget->setAccessibleDescription(description);
    }
  }
}

bool frmVelmorida::EndProgram() {
  if (endProgram_) return endProgram_();
  close();
  QCoreApplication::quit();
  return true;
}

}  // namespace velmorida
