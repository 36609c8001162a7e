// The calculator's window in standard Qt widgets: builds them from the shared
// layout, maps the user's edits, unit choices and keys to the calculator's
// interface, and shows and speaks what comes back. It holds no data of its
// own; every figure shown or spoken comes from the calculator.
#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "window/calculator.h"
#include "window/layout.h"
#include "window/system_separator.h"

class QComboBox;
class QFrame;
class QLineEdit;

namespace velmorida {

class Announcement;

// Tells Qt's accessibility what the calculator's own widgets are: called once
// where the application starts, before any window is made.
void InstallAccessibility();

class frmVelmorida : public QWidget {
  Q_OBJECT

 public:
  // `endProgram` runs on Escape; by default the window closes and the
  // application quits.
  explicit frmVelmorida(std::string decimalSeparator = SystemDecimalSeparator(),
                        Calculator::EndProgram endProgram = {}, QWidget* parent = nullptr);
  ~frmVelmorida() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void SetUpWindow();
  void BuildControls();
  void NameForScreenReaders();
  void ApplyTabOrder();
  void ConnectUserEdits();
  void WatchKeys();
  void WatchPopup(QObject* watched, QEvent* event);
  void WatchPointerFocus(QObject* watched, QEvent* event);
  void ApplyColours();
  void PaintPopup(QComboBox* list);
  bool OnKey(QObject* watched, const QKeyEvent& key);
  void InsertSeparator(QObject* watched, const QKeyEvent& key, const std::string& separator);
  void OnBoxEdited(layout::ControlId box, const QString& text);
  void OnUnitChosen(layout::ControlId list, int item);
  void Render();
  bool EndProgram();
  void UseInstalledIcon();
  void Say(const std::string& message);

  QWidget* Widget(layout::ControlId id) const { return controls_[layout::IndexOf(id)]; }
  std::optional<layout::ControlId> ControlAt(const QObject* widget) const;
  QLineEdit* Box(layout::ControlId id) const;
  QComboBox* List(layout::ControlId id) const;

  Calculator calculator_;
  Calculator::EndProgram endProgram_;
  bool installedIconAsked_ = false;
  bool applyingColours_ = false;
  bool coloursPending_ = false;  // a theme's change is being put right
  bool focusedByPointer_ = false;

  QFrame* fraVelmorida_ = nullptr;
  // Each control of the layout, at its row's place.
  std::array<QWidget*, layout::kControls.size()> controls_{};
  Announcement* announcement_ = nullptr;
};

}  // namespace velmorida
