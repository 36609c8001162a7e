#include "window/frm_velmorida.h"

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
#include <QLocale>
#include <QPalette>
#include <QPixmap>
#include <QStandardPaths>
#include <QTimer>
#include <string_view>

#include "calc/reactance.h"
#include "resources/velmorida.xpm"
#include "window/accessible_text_box.h"
#include "window/announcement.h"
#include "window/pasted_text.h"

namespace velmorida {
namespace {

// The layout is drawn in twips; at 96 dpi a device-independent pixel is 15
// twips, and Qt's high-DPI scaling takes it from there.
constexpr int kTwipsPerPixel = 15;

struct Twips {
  int left;
  int top;
  int width;
  int height;
};

constexpr Twips kClientArea{0, 0, 6765, 3015};
constexpr Twips kFrame{120, 120, 6495, 2775};
// Inside the frame:
constexpr Twips kCapacitanceCaption{240, 480, 2940, 240};
constexpr Twips kCapacitanceBox{720, 900, 855, 360};
constexpr Twips kCapacitanceList{1560, 900, 1095, 360};
constexpr Twips kFrequencyCaption{720, 1800, 1980, 240};
constexpr Twips kFrequencyBox{720, 2100, 855, 360};
constexpr Twips kFrequencyList{1560, 2100, 1095, 360};
constexpr Twips kReadOutCaption{3360, 1200, 2760, 240};
constexpr Twips kReadOut{3885, 1560, 1095, 375};
constexpr Twips kUnitLabel{5205, 1620, 435, 240};
constexpr Twips kSignature{4320, 480, 900, 270};

QRect ToPixels(const Twips& t) {
  return {t.left / kTwipsPerPixel, t.top / kTwipsPerPixel, t.width / kTwipsPerPixel,
          t.height / kTwipsPerPixel};
}

const QColor kWindowColour(224, 224, 224);
const QColor kInputColour(192, 255, 192);
const QColor kReadOutColour(255, 255, 128);

constexpr const char* kFontFamily = "Verdana";
constexpr qreal kFontPoints = 9.75;
constexpr qreal kSignaturePoints = 12;

constexpr const char* kCaption = " Velmorida condensatoarelor ";
constexpr const char* kCapacitanceCaptionText = "Capacitatea condensatorului:";
constexpr const char* kFrequencyCaptionText = "Frecventa de lucru:";
constexpr const char* kReadOutCaptionText = "Velmorida condensatorului:";
constexpr const char* kSignatureText = "QZ9XK";
// Read by screen readers after a list's caption.
constexpr const char* kUnitListSuffix = ", unitate";

constexpr const char* kWindowName = "frmVelmorida";
// The installed PNG sizes that a title bar and a window switcher use at 96
// and 192 dpi; the larger ones would add a megabyte at start-up for nothing
// a window shows.
constexpr int kInstalledIconSizes[] = {32, 64};
constexpr const char* kFrameName = "fraVelmorida";

// Speaks the figure with its unit wherever the focus is (R for "rezultat").
constexpr QKeyCombination kSpeakResultKey(Qt::ControlModifier, Qt::Key_R);

// Indices of lblEtichete: the read-out's caption is item 0.
constexpr int kReadOutCaptionItem = 0;
constexpr int kCapacitanceCaptionItem = 1;
constexpr int kFrequencyCaptionItem = 2;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString AccessibleNameOf(const char* caption) {
  QString name = QString::fromLatin1(caption);
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  return name;
}

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* objectName, const char* caption,
                  const Twips& place) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->move(ToPixels(place).topLeft());
  label->adjustSize();  // a label sizes itself to its caption
  return label;
}

QLineEdit* MakeBox(QWidget* parent, const char* objectName, const Twips& place,
                   const QColor& colour) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromLatin1(objectName));
  box->setGeometry(ToPixels(place));
  Paint(box, QPalette::Base, colour);
  return box;
}

template <std::size_t N>
QComboBox* MakeList(QWidget* parent, const char* objectName, const Twips& place,
                    const std::array<Unit, N>& units) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(objectName));
  list->setGeometry(ToPixels(place));
  list->setEditable(false);
  for (const Unit& unit : units) list->addItem(FromUtf8(unit.name));
  list->setCurrentIndex(-1);  // nothing is chosen until start-up
  return list;
}

// What the window and its frame are to assistive technology. Qt calls a
// plain top-level QWidget a filler, and a QFrame a frame, the role of a
// top-level window: Orca then takes the frame for the window that owns the
// controls, finds it inactive and ignores every event from inside it.
QAccessibleInterface* WindowAndFrameRoles(const QString& /*className*/, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (widget->isWindow() && widget->objectName() == QLatin1String(kWindowName)) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  if (widget->objectName() == QLatin1String(kFrameName)) {
    return new QAccessibleWidget(widget, QAccessible::Grouping);
  }
  auto* box = qobject_cast<QLineEdit*>(widget);
  if (box != nullptr && box->parent() != nullptr &&
      box->parent()->objectName() == QLatin1String(kFrameName)) {
    return new AccessibleTextBox(box);
  }
  return nullptr;
}

bool IsKeypadDecimal(const QKeyEvent& key) {
  return (key.modifiers() & Qt::KeypadModifier) &&
         (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma);
}

int CharacterCodeOf(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Escape) return kEscapeCharacterCode;
  return key.text().isEmpty() ? 0 : key.text().front().unicode();
}

}  // namespace

NumberFormat SystemNumberFormat() {
  return NumberFormat{QLocale::system().decimalPoint().toStdString()};
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
  static const bool rolesKnown = [] {
    QAccessible::installFactory(&WindowAndFrameRoles);
    return true;
  }();
  Q_UNUSED(rolesKnown);
  setObjectName(QLatin1String(kWindowName));
  setWindowTitle(QString::fromLatin1(kCaption));
  // The built-in picture, read by Qt's own XPM reader with no plugin; the
  // installed ones, larger, replace it after the first frame
  // (UseInstalledIcon).
  setWindowIcon(QIcon(QPixmap(velmorida_xpm)));
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  setFixedSize(ToPixels(kClientArea).size());
  setAutoFillBackground(true);
  Paint(this, QPalette::Window, kWindowColour);
  QFont font(QString::fromLatin1(kFontFamily));
  font.setPointSizeF(kFontPoints);
  setFont(font);
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
    const QString path =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id));
    if (!path.isEmpty()) installed.addFile(path, QSize(size, size));
  }
  if (!installed.isNull()) setWindowIcon(installed);
}

void frmVelmorida::BuildControls() {
  fraVelmorida_ = new QFrame(this);
  fraVelmorida_->setObjectName(QLatin1String(kFrameName));
  fraVelmorida_->setGeometry(ToPixels(kFrame));
  fraVelmorida_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  QWidget* frame = fraVelmorida_;

  lblEtichete_[kCapacitanceCaptionItem] =
      MakeLabel(frame, "lblEtichete1", kCapacitanceCaptionText, kCapacitanceCaption);
  txtC_ = MakeBox(frame, "txtC", kCapacitanceBox, kInputColour);
  cboC_ = MakeList(frame, "cboC", kCapacitanceList, kCapacitanceUnits);
  lblEtichete_[kFrequencyCaptionItem] =
      MakeLabel(frame, "lblEtichete2", kFrequencyCaptionText, kFrequencyCaption);
  txtFreq_ = MakeBox(frame, "txtFreq", kFrequencyBox, kInputColour);
  cboFreq_ = MakeList(frame, "cboFreq", kFrequencyList, kFrequencyUnits);
  lblEtichete_[kReadOutCaptionItem] =
      MakeLabel(frame, "lblEtichete0", kReadOutCaptionText, kReadOutCaption);
  txtR_ = MakeBox(frame, "txtR", kReadOut, kReadOutColour);
  txtR_->setReadOnly(true);  // selectable and copyable, never typed into
  lblUM_ = MakeLabel(frame, "lblUM", "", kUnitLabel);
  lblQZ9XK_ = MakeLabel(frame, "lblQZ9XK", kSignatureText, kSignature);
  announcement_ = new Announcement(this);
  QFont signatureFont(font());
  signatureFont.setPointSizeF(kSignaturePoints);
  signatureFont.setBold(true);
  lblQZ9XK_->setFont(signatureFont);
  lblQZ9XK_->adjustSize();

  for (QLineEdit* box : {txtC_, txtFreq_}) box->setMaxLength(FormState::kInputMaxChars);
}

void frmVelmorida::NameForScreenReaders() {
  lblEtichete_[kCapacitanceCaptionItem]->setBuddy(txtC_);
  lblEtichete_[kFrequencyCaptionItem]->setBuddy(txtFreq_);
  lblEtichete_[kReadOutCaptionItem]->setBuddy(txtR_);
  txtC_->setAccessibleName(AccessibleNameOf(kCapacitanceCaptionText));
  // On Linux a list's accessible name is its current item, so the caption
  // also goes into the description, which screen readers read after it.
  for (auto [list, caption] :
       {std::pair{cboC_, kCapacitanceCaptionText}, std::pair{cboFreq_, kFrequencyCaptionText}}) {
    list->setAccessibleName(AccessibleNameOf(caption) + kUnitListSuffix);
    list->setAccessibleDescription(AccessibleNameOf(caption) + kUnitListSuffix);
  }
  txtFreq_->setAccessibleName(AccessibleNameOf(kFrequencyCaptionText));
  txtR_->setAccessibleName(AccessibleNameOf(kReadOutCaptionText));
}

void frmVelmorida::ApplyTabOrder() {
  setTabOrder(txtC_, cboC_);
  setTabOrder(cboC_, txtFreq_);
  setTabOrder(txtFreq_, cboFreq_);
  setTabOrder(cboFreq_, txtR_);
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
}

bool frmVelmorida::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildPolished) WatchPopup(watched, event);
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto& key = static_cast<const QKeyEvent&>(*event);
  handlers_.Form_KeyPress(CharacterCodeOf(key));
  if (handlers_.ended()) return true;
  if (key.keyCombination() == kSpeakResultKey) {
    announcement_->Say(SpokenResult());
    return true;
  }
  if (IsKeypadDecimal(key) && qobject_cast<QLineEdit*>(watched) != nullptr) {
    // The keypad's decimal key types the locale's separator, whatever the
    // keyboard layout prints on it.
    QKeyEvent separator(QEvent::KeyPress, key.key(), key.modifiers() & ~Qt::KeypadModifier,
                        FromUtf8(handlers_.format().decimal), key.isAutoRepeat());
    QCoreApplication::sendEvent(watched, &separator);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmVelmorida::OnBoxEdited(InputBox box, QLineEdit* edit, const QString& text) {
  const QString resultBefore = SpokenResult();
  const std::string typed = text.toStdString();
  state_.SetText(box, typed);
  Render();
  // A new figure is spoken; the keystroke's echo comes from the screen reader.
  if (SpokenResult() != resultBefore) announcement_->Say(SpokenResult());
  if (state_.Text(box) == typed) return;
  // The box was corrected: a "0" is selected so the next digit replaces it;
  // after any other correction the caret goes to the end.
  if (state_.Text(box) == NumberToText(0, handlers_.format())) {
    edit->selectAll();
  } else {
    edit->end(false);
  }
}

void frmVelmorida::OnUnitChosen(QComboBox* list, std::string& field, void (Handlers::*click)()) {
  const QString resultBefore = SpokenResult();
  field = list->currentText().toStdString();
  (handlers_.*click)();
  Render();
  // Orca does not speak a Qt list's new item, so the list says it itself,
  // with the new figure when the unit changed it.
  QString said = list->currentText();
  if (SpokenResult() != resultBefore) said += QLatin1String(", ") + SpokenResult();
  announcement_->Say(said);
}

// The figure with its unit, as a screen reader should say it; nothing while
// the read-out is hidden.
QString frmVelmorida::SpokenResult() const {
  if (!state_.txtRVisible) return {};
  return FromUtf8(state_.txtR) + QLatin1Char(' ') + FromUtf8(state_.lblUM);
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
