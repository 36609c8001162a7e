#include "window/qt/frm_velmorida.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
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

#include "calc/reactance.h"
#include "resources/velmorida.xpm"
#include "velmorida_version.h"
#include "window/colours.h"
#include "window/edit_rules.h"
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

QRect PlaceOf(ControlId id) {
  return ToPixels(layout::ControlOf(id).place);
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

// Speaks the figure with its unit wherever the focus is (R for "rezultat").
constexpr QKeyCombination kSpeakResultKey(Qt::ControlModifier, Qt::Key_R);

// Indices of lblEtichete: the read-out's caption is item 0.
constexpr int kReadOutCaptionItem = 0;
constexpr int kCapacitanceCaptionItem = 1;
constexpr int kFrequencyCaptionItem = 2;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString AccessibleNameOf(ControlId id) {
  return FromUtf8(layout::AccessibleNameOf(layout::ControlOf(id).caption));
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
  return colour.fromDesktop ? desktop.color(RoleOf(colour.role)) : ColourOf(colour.own);
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

const layout::Control* ControlNamed(const QString& name) {
  for (const layout::Control& control : layout::kControls) {
    if (name == FromUtf8(control.name)) return &control;
  }
  return nullptr;
}

void Name(QWidget* widget, ControlId id) {
  widget->setObjectName(FromUtf8(layout::ControlOf(id).name));
}

QLabel* MakeLabel(QWidget* parent, ControlId id) {
  const layout::Control& control = layout::ControlOf(id);
  auto* label = new QLabel(FromUtf8(control.caption), parent);
  Name(label, id);
  if (control.font != &layout::kFont) label->setFont(FontOf(*control.font));
  label->move(PlaceOf(id).topLeft());
  label->adjustSize();  // a label sizes itself to its caption
  return label;
}

QLineEdit* MakeBox(QWidget* parent, ControlId id) {
  auto* box = new QLineEdit(parent);
  Name(box, id);
  box->setGeometry(PlaceOf(id));
  return box;
}

QComboBox* MakeList(QWidget* parent, ControlId id) {
  auto* list = new QComboBox(parent);
  Name(list, id);
  list->setGeometry(PlaceOf(id));
  list->setEditable(false);
  for (const Unit& unit : layout::UnitsOf(id)) list->addItem(FromUtf8(unit.name));
  list->setCurrentIndex(-1);  // nothing is chosen until start-up
  return list;
}

bool IsKeypadDecimal(const QKeyEvent& key) {
  return (key.modifiers() & Qt::KeypadModifier) &&
         (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma);
}

int CharacterCodeOf(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Escape) return kEscapeCharacterCode;
  return key.text().isEmpty() ? 0 : key.text().front().unicode();
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

frmVelmorida::frmVelmorida(NumberFormat format, Handlers::EndProgram endProgram, QWidget* parent)
    : QWidget(parent),
      handlers_(state_, std::move(format), [this] { EndProgram(); }),
      endProgram_(std::move(endProgram)) {
  SetUpWindow();
  BuildControls();
  NameForScreenReaders();
  ApplyTabOrder();
  ConnectUserEdits();
  WatchKeys();
  handlers_.Form_Load();
  Render();
  txtC_->setFocus();
  txtC_->selectAll();  // as after any reset: the first digit typed replaces the "0"
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

void frmVelmorida::BuildControls() {
  fraVelmorida_ = new QFrame(this);
  fraVelmorida_->setObjectName(FromUtf8(layout::kFrameName));
  fraVelmorida_->setGeometry(ToPixels(layout::kFrame));
  fraVelmorida_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  QWidget* frame = fraVelmorida_;

  lblEtichete_[kCapacitanceCaptionItem] = MakeLabel(frame, ControlId::lblEtichete1);
  txtC_ = MakeBox(frame, ControlId::txtC);
  cboC_ = MakeList(frame, ControlId::cboC);
  lblEtichete_[kFrequencyCaptionItem] = MakeLabel(frame, ControlId::lblEtichete2);
  txtFreq_ = MakeBox(frame, ControlId::txtFreq);
  cboFreq_ = MakeList(frame, ControlId::cboFreq);
  lblEtichete_[kReadOutCaptionItem] = MakeLabel(frame, ControlId::lblEtichete0);
  txtR_ = MakeBox(frame, ControlId::txtR);
  txtR_->setReadOnly(true);  // selectable and copyable, never typed into
  lblUM_ = MakeLabel(frame, ControlId::lblUM);
  lblQZ9XK_ = MakeLabel(frame, ControlId::lblQZ9XK);
  announcement_ = new Announcement(this);

  for (QLineEdit* box : {txtC_, txtFreq_}) box->setMaxLength(FormState::kInputMaxChars);
  ApplyColours();
}

// The window, frame and labels first: a child's own palette is set after its
// parent's, so what it inherits never overrides the rule.
void frmVelmorida::ApplyColours() {
  if (applyingColours_) return;
  applyingColours_ = true;
  Paint(this, colours::WindowColours(kDesktopContrast));
  for (QWidget* control : fraVelmorida_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const layout::Control* described = ControlNamed(control->objectName());
    if (described != nullptr) Paint(control, colours::ColoursOf(described->kind, kDesktopContrast));
  }
  for (QComboBox* list : {cboC_, cboFreq_}) PaintPopup(list);
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
// are read again. Setting the palettes raises PaletteChange here again,
// which ApplyColours ignores while it runs.
void frmVelmorida::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ApplicationPaletteChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
      if (fraVelmorida_ != nullptr) ApplyColours();
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

void frmVelmorida::NameForScreenReaders() {
  lblEtichete_[kCapacitanceCaptionItem]->setBuddy(txtC_);
  lblEtichete_[kFrequencyCaptionItem]->setBuddy(txtFreq_);
  lblEtichete_[kReadOutCaptionItem]->setBuddy(txtR_);
  txtC_->setAccessibleName(AccessibleNameOf(ControlId::lblEtichete1));
  // On Linux a list's accessible name is its current item, so the caption
  // also goes into the description, which screen readers read after it.
  for (auto [list, id] :
       {std::pair{cboC_, ControlId::cboC}, std::pair{cboFreq_, ControlId::cboFreq}}) {
    const QString name = FromUtf8(layout::UnitListName(id));
    list->setAccessibleName(name);
    list->setAccessibleDescription(name);
  }
  txtFreq_->setAccessibleName(AccessibleNameOf(ControlId::lblEtichete2));
  txtR_->setAccessibleName(AccessibleNameOf(ControlId::lblEtichete0));
}

void frmVelmorida::ApplyTabOrder() {
  QWidget* previous = nullptr;
  for (ControlId id : layout::kTabOrder) {
    auto* control = fraVelmorida_->findChild<QWidget*>(FromUtf8(layout::ControlOf(id).name));
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
}

void frmVelmorida::ConnectUserEdits() {
  // textEdited and activated come from the user only, so the window's own
  // updates in Render never come back here as edits.
  connect(txtC_, &QLineEdit::textEdited, this,
          [this](const QString& text) { OnBoxEdited(InputBox::Capacitance, txtC_, text); });
  connect(txtFreq_, &QLineEdit::textEdited, this,
          [this](const QString& text) { OnBoxEdited(InputBox::Frequency, txtFreq_, text); });
  connect(cboC_, &QComboBox::activated, this,
          [this] { OnUnitChosen(cboC_, state_.cboC, &Handlers::cboC_Click); });
  connect(cboFreq_, &QComboBox::activated, this,
          [this] { OnUnitChosen(cboFreq_, state_.cboFreq, &Handlers::cboFreq_Click); });
}

void frmVelmorida::WatchKeys() {
  // Pastes and drops into the boxes lose their edge line breaks. The last
  // filter installed runs first, so the window still sees every key first.
  auto* pasted = new PastedTextFilter(this);
  for (QLineEdit* box : {txtC_, txtFreq_}) pasted->Watch(box);
  // A list's popup is made the first time it opens; eventFilter watches it
  // from then on (see WatchPopup).
  for (QWidget* control :
       std::initializer_list<QWidget*>{txtC_, cboC_, txtFreq_, cboFreq_, txtR_, this}) {
    control->installEventFilter(this);
  }
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

bool frmVelmorida::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildPolished) WatchPopup(watched, event);
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  handlers_.Form_KeyPress(CharacterCodeOf(key));
  if (handlers_.ended()) return true;
  if (key.keyCombination() == kSpeakResultKey) {
    Say(SpokenResult(state_));
    return true;
  }
  if (IsKeypadDecimal(key) && qobject_cast<QLineEdit*>(watched) != nullptr) {
    // The keypad's decimal key types the locale's separator, whatever the
    // keyboard layout prints on it.
    QKeyEvent separator(QEvent::KeyPress, key.key(), key.modifiers() & ~Qt::KeypadModifier,
                        FromUtf8(KeypadDecimalText(handlers_.format())), key.isAutoRepeat());
    QCoreApplication::sendEvent(watched, &separator);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmVelmorida::OnBoxEdited(InputBox box, QLineEdit* edit, const QString& text) {
  const std::string resultBefore = SpokenResult(state_);
  const std::string typed = text.toStdString();
  state_.SetText(box, typed);
  Render();
  // A new figure is spoken; the keystroke's echo comes from the screen reader.
  Say(SpokenAfterEdit(state_, resultBefore));
  switch (CaretAfter(state_, box, typed, handlers_.format())) {
    case CaretAfterEdit::Untouched:
      break;
    case CaretAfterEdit::SelectAll:
      edit->selectAll();
      break;
    case CaretAfterEdit::AtEnd:
      edit->end(false);
      break;
  }
}

void frmVelmorida::OnUnitChosen(QComboBox* list, std::string& field, void (Handlers::*click)()) {
  const std::string resultBefore = SpokenResult(state_);
  field = list->currentText().toStdString();
  (handlers_.*click)();
  Render();
  // Orca does not speak a Qt list's new item, so the list says it itself.
  Say(SpokenAfterUnitChoice(state_, field, resultBefore));
}

void frmVelmorida::Say(const std::string& message) {
  announcement_->Say(FromUtf8(message));
}

namespace {

// Setting a box's text moves its caret to the end and drops the selection,
// so a box is only given a text it does not show already. Returns whether
// it changed.
bool ShowText(QLineEdit* box, const std::string& text) {
  const QString shown = FromUtf8(text);
  if (box->text() == shown) return false;
  box->setText(shown);
  return true;
}

void ShowUnit(QComboBox* list, const std::string& unit) {
  list->setCurrentIndex(list->findText(FromUtf8(unit)));
}

}  // namespace

// Labels, lists and visibility ignore a value they already have, so only the
// text boxes need a guard.
void frmVelmorida::Render() {
  ShowText(txtC_, state_.txtC());
  ShowText(txtFreq_, state_.txtFreq());
  ShowUnit(cboC_, state_.cboC);
  ShowUnit(cboFreq_, state_.cboFreq);
  if (ShowText(txtR_, state_.txtR)) {
    txtR_->setCursorPosition(0);  // a figure longer than the box shows its start
  }
  const QString unit = FromUtf8(state_.lblUM);
  if (lblUM_->text() != unit) {
    lblUM_->setText(unit);
    lblUM_->adjustSize();                   // widens for "kOhm" and "MOhm", keeping its left edge
    txtR_->setAccessibleDescription(unit);  // screen readers read it with the figure
  }
  txtR_->setVisible(state_.txtRVisible);
  lblUM_->setVisible(state_.lblUMVisible);
  lblEtichete_[kReadOutCaptionItem]->setVisible(state_.lblEtichete0Visible);
}

void frmVelmorida::EndProgram() {
  if (endProgram_) {
    endProgram_();
    return;
  }
  close();
  QCoreApplication::quit();
}

}  // namespace velmorida
