// The window's event handlers: start-up, the correction of what is typed into
// the two input boxes, recomputation when a unit is chosen, and Escape. They
// work on a FormState only and know nothing of widgets; the window calls them.
#pragma once

#include <functional>
#include <utility>

#include "calc/form_state.h"
#include "calc/number_text.h"

namespace velmorida {

inline constexpr int kEscapeCharacterCode = 27;

// Counts kept for tests and fuzzing; they never steer the handlers.
struct HandlerCounts {
  int recalculations = 0;
  int correctionWrites = 0;  // texts replaced by the correction rule
  int deepestNesting = 0;    // change events running inside one another
};

class Handlers {
 public:
  using EndProgram = std::function<void()>;

  // Installs the change hook on `state`; both must outlive the other's use.
  Handlers(FormState& state, NumberFormat format, EndProgram endProgram);
  ~Handlers();
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
  void CorrectInputField(InputBox box);

  bool ended() const { return ended_; }
  const NumberFormat& format() const { return format_; }
  const HandlerCounts& counts() const { return counts_; }

 private:
  void Recompute();
  void OnChange(InputBox box);

  FormState& state_;
  NumberFormat format_;
  EndProgram endProgram_;
  bool ended_ = false;
  int nesting_ = 0;
  HandlerCounts counts_;
};

}  // namespace velmorida
