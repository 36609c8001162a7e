// The calculator's window: presents a FormState in standard Qt widgets, feeds
// the user's edits, unit choices and key presses to the handlers, and tells a
// screen reader each new figure. It holds no data of its own; every figure
// shown or spoken comes from the FormState.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "calc/form_state.h"
#include "calc/number_text.h"
#include "window/edit_rules.h"
#include "window/handlers.h"

class QComboBox;
class QFrame;
class QLabel;
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
  explicit frmVelmorida(NumberFormat format = SystemNumberFormat(),
                        Handlers::EndProgram endProgram = {}, QWidget* parent = nullptr);
  ~frmVelmorida() override;

  const FormState& state() const { return state_; }

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
  void ApplyColours();
  void PaintPopup(QComboBox* list);
  void OnBoxEdited(InputBox box, QLineEdit* edit, const QString& text);
  void OnUnitChosen(QComboBox* list, std::string& field, void (Handlers::*click)());
  void Render();
  void EndProgram();
  void UseInstalledIcon();
  void Say(const std::string& message);

  FormState state_;
  Handlers handlers_;
  Handlers::EndProgram endProgram_;
  bool installedIconAsked_ = false;
  bool applyingColours_ = false;

  QFrame* fraVelmorida_ = nullptr;
  QLineEdit* txtC_ = nullptr;
  QComboBox* cboC_ = nullptr;
  QLineEdit* txtFreq_ = nullptr;
  QComboBox* cboFreq_ = nullptr;
  QLineEdit* txtR_ = nullptr;
  QLabel* lblUM_ = nullptr;
  std::array<QLabel*, 3> lblEtichete_{};
  QLabel* lblQZ9XK_ = nullptr;
  Announcement* announcement_ = nullptr;
};

}  // namespace velmorida
