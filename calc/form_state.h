// The content of the calculator's window, which is all the state it has: the
// two input texts with their units, the read-out, its unit and what is shown.
// Assigning an input text raises that box's change event through the hook the
// handlers install, before the assignment returns. It computes nothing itself.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace velmorida {

enum class InputBox { Capacitance, Frequency };

class FormState {
 public:
  // Each input box holds at most this many characters (not bytes).
  static constexpr std::size_t kInputMaxChars = 6;
  using ChangeHook = std::function<void(InputBox)>;

  FormState() = default;
  // The hook belongs to the handlers of one window's state: a copy would run
  // them on the original, and leave its own edits uncorrected.
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  const std::string& txtC() const { return txtC_; }
  const std::string& txtFreq() const { return txtFreq_; }
  const std::string& Text(InputBox box) const;

  // Cuts the text to its first six characters and stores it; when that
  // changes the box, raises its change event before returning.
  void SetText(InputBox box, std::string_view text);

  // The handlers' entry for change events; an empty hook raises nothing.
  void SetChangeHook(ChangeHook hook) { changeHook_ = std::move(hook); }

  std::string cboC;     // "pF", "nF" or "uF"; empty until start-up
  std::string cboFreq;  // "Hz", "kHz" or "MHz"; empty until start-up
  std::string txtR;     // the read-out
  std::string lblUM = "Ohm";
  bool txtRVisible = true;
  bool lblUMVisible = true;
  bool lblEtichete0Visible = true;  // the read-out's caption

 private:
  std::string txtC_ = "0";
  std::string txtFreq_ = "0";
  ChangeHook changeHook_;
};

// The first `maxChars` UTF-8 characters of the text; never splits a character.
std::string_view FirstChars(std::string_view text, std::size_t maxChars);

}  // namespace velmorida
