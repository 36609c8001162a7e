// The calculator's window on Windows, in the platform's standard controls
// (EDIT, COMBOBOX, STATIC) placed from the shared layout at the monitor's dpi.
// It maps the user's edits, unit choices, pastes and keys to the calculator's
// interface and shows and speaks what comes back. It holds no figures of its
// own and never reads a control's text as data, but for the user's edit.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "window/calculator.h"
#include "window/colours.h"
#include "window/layout.h"
#include "window/win32/accessible_control.h"
#include "window/win32/base_window.h"

namespace velmorida::win32 {

class frmVelmorida : public BaseWindow<frmVelmorida> {
 public:
  static constexpr const wchar_t* kClassName = L"frmVelmorida";

  explicit frmVelmorida(std::string decimalSeparator);
  ~frmVelmorida();

  // Creates the window and its controls and shows it, started, with the
  // focus in txtC and its "0" selected.
  bool Create(HINSTANCE instance, int show);

  // The message loop, until Escape or the window is closed; the exit code.
  int Run();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // A key on its way to any control of the window, which sees it first.
  // Returns true when the key goes no further.
  bool PreviewKey(const MSG& message);

  void BuildControls();
  void ApplyDpi(int dpi);
  void PlaceControl(std::size_t index);
  void FitListHeight(HWND list, int height) const;
  void SizeLabelToCaption(std::size_t index);

  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnBoxEdited(layout::ControlId id);
  void OnUnitChosen(layout::ControlId id);
  void InsertInto(HWND box, layout::ControlId id, const std::string& text) const;
  void ChooseColours();
  void DeleteBrushes();
  LRESULT OnControlColour(UINT message, HDC dc, HWND control);
  bool IsUnitListPart(HWND window) const;
  void DrawListItem(const DRAWITEMSTRUCT& item) const;
  void Render();
  bool ShowText(layout::ControlId id, std::string_view text);
  bool EndProgram();
  void Say(const std::string& text) const;

  static LRESULT CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclass, DWORD_PTR data);
  static LRESULT CALLBACK AccessibleControlProc(HWND control, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR subclass, DWORD_PTR data);
  void PasteInto(HWND box) const;

  HWND ControlWindow(layout::ControlId id) const;
  std::optional<layout::ControlId> ControlAt(HWND window) const;

  Calculator calculator_;
  Announcer announcer_;
  // Set while the window writes its own texts: the EN_CHANGE those writes
  // raise are not the user's edits.
  bool rendering_ = false;
  // Set while the left button that gave an input box the focus is held.
  bool focusedByPointer_ = false;
  int dpi_ = layout::kDesignDpi;
  HFONT font_ = nullptr;
  HFONT signatureFont_ = nullptr;
  // The colours of the window and of each kind of control, with the brush
  // of each background.
  struct Painted {
    colours::ControlColours colours;
    HBRUSH brush;
  };
  struct Palette {
    Painted window;
    std::array<Painted, layout::kControlKinds.size()> kinds;  // as kControlKinds
    Painted& Of(layout::ControlKind kind);
    const Painted& Of(layout::ControlKind kind) const;
  };
  Palette painted_{};
  HWND frame_ = nullptr;
  std::array<HWND, layout::kControls.size()> controls_{};
};

}  // namespace velmorida::win32
