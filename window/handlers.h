// The window's event handlers: start-up, the correction of what is typed into
// the two input boxes, recomputation when a unit is chosen, and Escape. They
// work on a FormState only and know nothing of widgets; the calculator's
// interface (calculator.h) calls them for every presentation.
#pragma once

#include <functional>
#include <utility>

#include "calc/form_state.h"
#include "calc/number_text.h"

namespace velmorida {

inline constexpr int kEscapeCharacterCode = 27;

class Handlers {
 public:
  // Ends the program; returns false where the platform keeps it running (a
  // browser tab the page may not close), and the calculator then goes on.
  using EndProgram = std::function<bool()>;

  // Binds txtC_Change and txtFreq_Change to the change events of `state`;
  // both must outlive the other's use.
  Handlers(FormState& state, NumberFormat format, EndProgram endProgram);
  virtual ~Handlers();
  Handlers(const Handlers&) = delete;
  Handlers& operator=(const Handlers&) = delete;

  void Form_Load();
  void Form_KeyPress(int characterCode);
  void txtC_Change();
  void txtFreq_Change();
  void cboC_Change();
  void cboC_Click();
  void cboFreq_Change();
  void cboFreq_Click();

  // Replaces a text that is not a non-negative number; recomputes otherwise.
  // Virtual, as Recompute, so that a test can count what runs.
  virtual void CorrectInputField(InputBox box);

  bool ended() const { return ended_; }
  const NumberFormat& format() const { return format_; }

 protected:
  virtual void Recompute();

 private:
  FormState& state_;
  NumberFormat format_;
  EndProgram endProgram_;
  bool ended_ = false;
};

}  // namespace velmorida
