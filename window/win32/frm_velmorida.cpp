#include "window/win32/frm_velmorida.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>
#include <variant>

#include "resources/resource_ids.h"
#include "window/colours.h"
#include "window/win32/accessible_control.h"
#include "window/win32/utf16.h"

namespace velmorida::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;

// A fixed-size window with a title bar, a system menu and a minimise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
// The unit lists draw their items themselves, so that a chosen item is in
// the colour rule's selection colours, not the system's; they keep their
// strings, which screen readers read.
constexpr DWORD kDrawnList = CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
// An open unit list shows its three items below the closed one.
constexpr int kListRowsWhenOpen = 4;

COLORREF ColourOf(const layout::Rgb& rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

// The system colours Microsoft names for each role in a dialog.
int SystemColourOf(colours::DesktopRole role) {
  switch (role) {
    case colours::DesktopRole::Face:
      return COLOR_BTNFACE;
    case colours::DesktopRole::FaceText:
      return COLOR_BTNTEXT;
    case colours::DesktopRole::Field:
      return COLOR_WINDOW;
    case colours::DesktopRole::FieldText:
      return COLOR_WINDOWTEXT;
    case colours::DesktopRole::Highlight:
      return COLOR_HIGHLIGHT;
    case colours::DesktopRole::HighlightText:
      return COLOR_HIGHLIGHTTEXT;
  }
  return COLOR_BTNFACE;
}

COLORREF Resolve(const colours::Colour& colour) {
  if (const auto* role = std::get_if<colours::DesktopRole>(&colour)) {
    return GetSysColor(SystemColourOf(*role));
  }
  return ColourOf(std::get<layout::Rgb>(colour));
}

// Whether the user has asked for High Contrast, which every application is
// to honour by drawing in the system's colours.
colours::Contrast DesktopContrast() {
  HIGHCONTRASTW highContrast{sizeof highContrast, 0, nullptr};
  const bool on =
      SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) != FALSE &&
      (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  return on ? colours::Contrast::High : colours::Contrast::Ordinary;
}

// A control's place in the window: the frame's corner plus its own place,
// added in twips so that only the sum is rounded.
layout::Pixels InWindow(const layout::Twips& place, int dpi) {
  const layout::Twips& frame = layout::kFrame;
  return layout::ToPixels(
      {frame.left + place.left, frame.top + place.top, place.width, place.height}, dpi);
}

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
  if (!text.empty()) {
    const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size()) + 1);
    text.resize(static_cast<std::size_t>(copied));
  }
  return text;
}

HFONT MakeFont(const layout::Font& font, int dpi) {
  const std::wstring family = Widen(font.family);
  return CreateFontW(-layout::FontPixels(font, dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                     ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, family.c_str());
}

bool IsShown(HWND control) {
  return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetShown(HWND control, bool shown) {
  if (IsShown(control) != shown) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

// Where the calculator puts a box's caret.
void PlaceCaret(HWND box, Caret caret) {
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(box));
  switch (caret) {
    case Caret::Kept:
      break;
    case Caret::SelectAll:
      SendMessageW(box, EM_SETSEL, 0, -1);
      break;
    case Caret::AtEnd:
      SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
      break;
    case Caret::AtStart:
      SendMessageW(box, EM_SETSEL, 0, 0);
      break;
  }
}

// A box's selection, or its caret, as the calculator counts it: an EDIT's
// positions are UTF-16 code units.
Selection SelectionOf(HWND box) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

bool KeyIsDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// A key going down, as the calculator's rules know it. Letters' and digits'
// virtual keys are their characters; the keypad's decimal key arrives as
// VK_DECIMAL only while Num Lock is on, and as VK_DELETE otherwise.
Key KeyOf(const MSG& message) {
  const auto virtualKey = static_cast<int>(message.wParam);
  Key key;
  key.control = KeyIsDown(VK_CONTROL);
  key.shift = KeyIsDown(VK_SHIFT);
  key.alt = KeyIsDown(VK_MENU);
  key.meta = KeyIsDown(VK_LWIN) || KeyIsDown(VK_RWIN);
  key.escape = virtualKey == VK_ESCAPE;
  key.keypadDecimal = virtualKey == VK_DECIMAL;
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    key.character = static_cast<char32_t>(virtualKey);
  }
  return key;
}

}  // namespace

frmVelmorida::frmVelmorida(std::string decimalSeparator)
    : calculator_(std::move(decimalSeparator), [this] { return EndProgram(); }) {}

frmVelmorida::~frmVelmorida() {
  for (HGDIOBJ object : std::initializer_list<HGDIOBJ>{font_, signatureFont_}) {
    if (object != nullptr) DeleteObject(object);
  }
  DeleteBrushes();
}

void frmVelmorida::DeleteBrushes() {
  for (Painted* painted : {&painted_.window}) {
    if (painted->brush != nullptr) DeleteObject(painted->brush);
    painted->brush = nullptr;
  }
  for (Painted& painted : painted_.kinds) {
    if (painted.brush != nullptr) DeleteObject(painted.brush);
    painted.brush = nullptr;
  }
}

frmVelmorida::Painted& frmVelmorida::Palette::Of(ControlKind kind) {
  const auto* found = std::find(layout::kControlKinds.begin(), layout::kControlKinds.end(), kind);
  return kinds[static_cast<std::size_t>(found - layout::kControlKinds.begin())];
}

const frmVelmorida::Painted& frmVelmorida::Palette::Of(ControlKind kind) const {
  return const_cast<Palette*>(this)->Of(kind);
}

// The colours of each kind of control for the desktop's present setting:
// at start-up and whenever the system colours or High Contrast change.
void frmVelmorida::ChooseColours() {
  const colours::Contrast contrast = DesktopContrast();
  const auto paint = [](const colours::ControlColours& colours) {
    return Painted{colours, CreateSolidBrush(Resolve(colours.background))};
  };
  Palette chosen{};
  chosen.window = paint(colours::WindowColours(contrast));
  for (ControlKind kind : layout::kControlKinds) {
    chosen.Of(kind) = paint(colours::ColoursOf(kind, contrast));
  }
  // The window's class paints its background with the window's brush; it
  // takes the new one before the old is deleted.
  if (hwnd_ != nullptr) {
    SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(chosen.window.brush));
  }
  DeleteBrushes();
  painted_ = chosen;
}

bool frmVelmorida::Create(HINSTANCE instance, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ChooseColours();
  const auto icon = [instance](int metric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORIDA_ICON_ID), IMAGE_ICON,
                                         GetSystemMetrics(metric), GetSystemMetrics(metric),
                                         LR_DEFAULTCOLOR));
  };
  if (!Register(instance, icon(SM_CXICON), icon(SM_CXSMICON), painted_.window.brush)) {
    return false;
  }

  const int dpi = static_cast<int>(GetDpiForSystem());
  RECT outer{0, 0, layout::TwipsToPixels(layout::kClientArea.width, dpi),
             layout::TwipsToPixels(layout::kClientArea.height, dpi)};
  AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, 0, static_cast<UINT>(dpi));
  const std::wstring caption = Widen(layout::kCaption);
  if (CreateTopLevel(instance, caption.c_str(), kWindowStyle, outer.right - outer.left,
                     outer.bottom - outer.top) == nullptr) {
    return false;
  }
  ShowWindow(hwnd_, show);
  UpdateWindow(hwnd_);
  const Focus first = calculator_.FirstFocus();
  SetFocus(ControlWindow(first.control));
  PlaceCaret(ControlWindow(first.control), first.caret);
  return true;
}

int frmVelmorida::Run() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreviewKey(message)) continue;
    if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) continue;  // Tab, Shift+Tab
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

bool frmVelmorida::PreviewKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return calculator_.ended();
  const KeyOutcome outcome = calculator_.Press(KeyOf(message), ControlAt(message.hwnd));
  switch (outcome.action) {
    case KeyAction::SpeakResult:
      Say(outcome.text);
      break;
    case KeyAction::InsertSeparator:
      // Inserted rather than translated: Windows would type a "." whatever
      // the locale.
      if (const std::optional<ControlId> id = ControlAt(message.hwnd)) {
        InsertInto(message.hwnd, *id, outcome.text);
      }
      break;
    case KeyAction::None:
    case KeyAction::End:
      break;
  }
  return outcome.Consumed();
}

LRESULT frmVelmorida::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
      BuildControls();
      ApplyDpi(dpi_);
      Render();
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType != ODT_COMBOBOX) break;
      DrawListItem(item);
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(message, reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High Contrast turned on or off, or another colour scheme: both
      // arrive as one of these, so either rebuilds the colours.
      ChooseColours();
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// In z-order, which is also the tab order: the controls in the layout's
// order, then the frame at the bottom, so that it is drawn behind them.
// The controls are the frame's siblings, so that their notifications and
// colour requests come to this window.
void frmVelmorida::BuildControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    const layout::Control& control = layout::kControls[i];
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    const std::wstring caption = Widen(control.caption);
    HWND window = nullptr;
    switch (control.kind) {
      case ControlKind::Label:
        window = CreateWindowExW(0, L"STATIC", caption.c_str(), kChild | SS_LEFT | SS_NOPREFIX, 0,
                                 0, 0, 0, hwnd_, id, instance, nullptr);
        break;
      case ControlKind::InputBox:
        window =
            CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, 0,
                            0, 0, 0, hwnd_, id, instance, nullptr);
        SendMessageW(window, EM_LIMITTEXT, Calculator::kBoxMaxLength, 0);
        SetWindowSubclass(window, &InputBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
      case ControlKind::ReadOut:
        window = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 kChild | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY, 0, 0, 0, 0,
                                 hwnd_, id, instance, nullptr);
        break;
      case ControlKind::UnitList:
        window = CreateWindowExW(0, WC_COMBOBOXW, L"",
                                 kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | kDrawnList,
                                 0, 0, 0, 0, hwnd_, id, instance, nullptr);
        for (std::string_view item : Calculator::ItemsOf(control.id)) {
          const std::wstring name = Widen(item);
          SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        break;
    }
    if (layout::TakesFocus(control.kind)) {
      SetWindowSubclass(window, &AccessibleControlProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    controls_[i] = window;
  }
  frame_ = CreateWindowExW(0, L"STATIC", L"", kChild | SS_ETCHEDFRAME, 0, 0, 0, 0, hwnd_, nullptr,
                           instance, nullptr);
}

// Fonts and places for the monitor's dpi: at start-up and whenever the
// window moves to a monitor of another dpi.
void frmVelmorida::ApplyDpi(int dpi) {
  dpi_ = dpi;
  for (HFONT old : {font_, signatureFont_}) {
    if (old != nullptr) DeleteObject(old);
  }
  font_ = MakeFont(layout::kFont, dpi);
  signatureFont_ = MakeFont(layout::kSignatureFont, dpi);
  const layout::Pixels frame = layout::ToPixels(layout::kFrame, dpi);
  SetWindowPos(frame_, nullptr, frame.left, frame.top, frame.width, frame.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const HFONT font =
        layout::kControls[i].font == &layout::kSignatureFont ? signatureFont_ : font_;
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    PlaceControl(i);
  }
}

void frmVelmorida::PlaceControl(std::size_t index) {
  const layout::Control& control = layout::kControls[index];
  HWND window = controls_[index];
  const layout::Pixels place = InWindow(control.place, dpi_);
  constexpr UINT kKeep = SWP_NOZORDER | SWP_NOACTIVATE;
  switch (control.kind) {
    case ControlKind::Label:
      SetWindowPos(window, nullptr, place.left, place.top, 0, 0, kKeep | SWP_NOSIZE);
      SizeLabelToCaption(index);
      break;
    case ControlKind::UnitList:
      // A combo box's height is the closed field and the open list together.
      SetWindowPos(window, nullptr, place.left, place.top, place.width,
                   place.height * kListRowsWhenOpen, kKeep);
      FitListHeight(window, place.height);
      break;
    case ControlKind::InputBox:
    case ControlKind::ReadOut:
      SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height, kKeep);
      break;
  }
}

// A closed list is its field's item height and a border; the item height is
// set so that the whole is the layout's height. The border is what the list
// adds to an item height, read back once the first height is set.
void frmVelmorida::FitListHeight(HWND list, int height) const {
  const auto closedHeight = [list] {
    RECT closed{};
    GetWindowRect(list, &closed);
    return static_cast<int>(closed.bottom - closed.top);
  };
  const auto item = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, -1, 0));
  SendMessageW(list, CB_SETITEMHEIGHT, -1, item);
  const int border = closedHeight() - item;
  SendMessageW(list, CB_SETITEMHEIGHT, -1, height - border);
  // The open list's items as high as the closed field's.
  SendMessageW(list, CB_SETITEMHEIGHT, 0, height - border);
}

// A label is as large as its caption in its font, its left edge fixed.
void frmVelmorida::SizeLabelToCaption(std::size_t index) {
  HWND label = controls_[index];
  const std::wstring caption = TextOf(label);
  HDC dc = GetDC(label);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, size.cx, metrics.tmHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmVelmorida::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (rendering_) return;
  const std::optional<ControlId> id = ControlAt(reinterpret_cast<HWND>(lParam));
  if (!id) return;
  const UINT code = HIWORD(wParam);
  const ControlKind kind = layout::RowOf(*id).kind;
  if (code == EN_CHANGE && kind == ControlKind::InputBox) OnBoxEdited(*id);
  if (code == CBN_SELCHANGE && kind == ControlKind::UnitList) OnUnitChosen(*id);
}

void frmVelmorida::OnBoxEdited(ControlId id) {
  HWND edit = ControlWindow(id);
  // The user's edit is the one text read from a control: it is the input.
  const EditOutcome outcome = calculator_.Edit(id, Narrow(TextOf(edit)));
  Render();
  // A new figure is spoken; the keystroke's echo comes from the screen reader.
  Say(outcome.spoken);
  PlaceCaret(edit, outcome.caret);
}

// The list's items are the calculator's, in order, so the chosen index names
// the unit; the calculator checks it.
void frmVelmorida::OnUnitChosen(ControlId id) {
  const auto item = static_cast<int>(SendMessageW(ControlWindow(id), CB_GETCURSEL, 0, 0));
  const std::string said = calculator_.ChooseUnit(id, item);
  Render();
  Say(said);
}

// Every control is given its text colour as well as its background, so that
// no text is left in whatever colour the device context holds. A unit list
// asks for its field (and its open list) with WM_CTLCOLORLISTBOX, or as a
// STATIC when Windows draws it disabled; a read-only EDIT asks as a STATIC.
LRESULT frmVelmorida::OnControlColour(UINT /*message*/, HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  ControlKind kind = ControlKind::Label;  // the labels and the frame
  for (const layout::Control& described : layout::kControls) {
    if (static_cast<int>(described.id) == id && ControlWindow(described.id) == control) {
      kind = described.kind;
    }
  }
  if (IsUnitListPart(control)) kind = ControlKind::UnitList;
  const Painted& painted = painted_.Of(kind);
  SetTextColor(dc, Resolve(painted.colours.text));
  SetBkColor(dc, Resolve(painted.colours.background));
  return reinterpret_cast<LRESULT>(painted.brush);
}

// An item of a unit list, in the closed field or the open list: the list's
// colours, or its selection's when chosen there, with a focus frame when the
// list has the keyboard.
void frmVelmorida::DrawListItem(const DRAWITEMSTRUCT& item) const {
  const colours::ControlColours& c = painted_.Of(ControlKind::UnitList).colours;
  const bool chosen = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF background = Resolve(chosen ? c.selection : c.background);
  const COLORREF text = Resolve(chosen ? c.selectionText : c.text);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  if (item.itemID != static_cast<UINT>(-1)) {
    std::wstring name(
        static_cast<std::size_t>(SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0)),
        L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(name.data()));
    SetTextColor(item.hDC, text);
    SetBkColor(item.hDC, background);
    RECT place = item.rcItem;
    place.left += GetSystemMetrics(SM_CXEDGE);
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &place,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(item.hDC, &item.rcItem);
  }
}

// A unit list, or the list it drops down, which Windows makes as a window of
// its own.
bool frmVelmorida::IsUnitListPart(HWND window) const {
  for (const layout::Control& control : layout::kControls) {
    if (control.kind != ControlKind::UnitList) continue;
    HWND list = ControlWindow(control.id);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (window == list || (GetComboBoxInfo(list, &info) && window == info.hwndList)) return true;
  }
  return false;
}

// Shows what the calculator holds. Only a changed text is written: writing
// an EDIT's text moves its caret and drops its selection. A read-out's caret
// stays at 0, so a long figure shows its start.
void frmVelmorida::Render() {
  rendering_ = true;
  for (const ControlView& shown : calculator_.Render().controls) {
    HWND window = ControlWindow(shown.id);
    switch (layout::RowOf(shown.id).kind) {
      case ControlKind::InputBox:
      case ControlKind::ReadOut:
        if (ShowText(shown.id, shown.text)) PlaceCaret(window, shown.caretOnNewText);
        break;
      case ControlKind::UnitList:
        if (SendMessageW(window, CB_GETCURSEL, 0, 0) != shown.item) {
          SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(shown.item), 0);
        }
        break;
      case ControlKind::Label:
        if (ShowText(shown.id, shown.text)) {
          SizeLabelToCaption(layout::IndexOf(shown.id));  // widens for "kOhm" and "MOhm"
        }
        break;
    }
    SetShown(window, shown.visible);
  }
  rendering_ = false;
}

bool frmVelmorida::ShowText(ControlId id, std::string_view text) {
  HWND control = ControlWindow(id);
  const std::wstring shown = Widen(text);
  if (TextOf(control) == shown) return false;
  SetWindowTextW(control, shown.c_str());
  return true;
}

bool frmVelmorida::EndProgram() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  return true;
}

// What a screen reader says without a move of the focus; nothing while the
// read-out is hidden or the figure is unchanged (the shared rules give "").
void frmVelmorida::Say(const std::string& text) const {
  announcer_.Say(hwnd_, Widen(text));
}

// The input boxes' own messages: every way of pasting goes through WM_PASTE,
// which inserts the clipboard's text without its edge line breaks. A click
// or a tap (which Windows hands on as the left button) that gives a box the
// focus selects its text where the calculator says so, once the box has
// placed its caret, as the button is let go.
LRESULT CALLBACK frmVelmorida::InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR subclass, DWORD_PTR data) {
  auto* self = reinterpret_cast<frmVelmorida*>(data);
  switch (message) {
    case WM_PASTE:
      self->PasteInto(box);
      return 0;
    case WM_LBUTTONDOWN:
      self->focusedByPointer_ = GetFocus() != box;
      break;
    case WM_LBUTTONUP: {
      const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
      const std::optional<ControlId> id = self->ControlAt(box);
      if (std::exchange(self->focusedByPointer_, false) && id &&
          self->calculator_.SelectsOnPointerFocus(*id)) {
        PlaceCaret(box, Caret::SelectAll);
      }
      return result;
    }
    case WM_KEYDOWN:
      // Shift+Insert pastes too; Wine's EDIT does it without a WM_PASTE.
      if (wParam == VK_INSERT && KeyIsDown(VK_SHIFT) && !KeyIsDown(VK_CONTROL)) {
        SendMessageW(box, WM_PASTE, 0, 0);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, &InputBoxProc, subclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

// What screen readers are told of the controls that take the focus: each is
// named as in every window, from its caption, where Windows would name a box
// from the label before it with its colon and a list by its chosen item; the
// read-out is described by its unit.
LRESULT CALLBACK frmVelmorida::AccessibleControlProc(HWND control, UINT message, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR subclass,
                                                     DWORD_PTR data) {
  const auto* self = reinterpret_cast<const frmVelmorida*>(data);
  const std::optional<ControlId> id = self->ControlAt(control);
  if (message == WM_GETOBJECT && id) {
    const layout::Control& described = layout::RowOf(*id);
    AccessibleTexts texts;
    if (described.describedBy) {
      const ControlId by = *described.describedBy;
      texts.description = [self, by] { return Widen(self->calculator_.Render().TextOf(by)); };
    }
    if (described.namedBy) {
      texts.name = [id] { return Widen(layout::AccessibleNameOf(*id)); };
    }
    if (const LRESULT answer = AnswerGetObject(control, wParam, lParam, texts)) return answer;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &AccessibleControlProc, subclass);
  return DefSubclassProc(control, message, wParam, lParam);
}

// As the box's own paste: over the selection, at the caret, up to the box's
// limit; an empty clipboard changes nothing unless a selection is replaced.
void frmVelmorida::PasteInto(HWND box) const {
  std::wstring clipboard;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(box)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
        clipboard = text;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  if (const std::optional<ControlId> id = ControlAt(box)) InsertInto(box, *id, Narrow(clipboard));
}

// What the calculator finds room for, over the selection, undoable.
void frmVelmorida::InsertInto(HWND box, ControlId id, const std::string& text) const {
  const std::optional<std::string> fitted = calculator_.Insert(id, text, SelectionOf(box));
  if (!fitted) return;
  const std::wstring wide = Widen(*fitted);
  SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

HWND frmVelmorida::ControlWindow(ControlId id) const {
  return controls_[layout::IndexOf(id)];
}

// The layout's control a window is, if it is one (not the frame, the main
// window or an open list's own window).
std::optional<ControlId> frmVelmorida::ControlAt(HWND window) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (window != nullptr && controls_[i] == window) return layout::kControls[i].id;
  }
  return std::nullopt;
}

}  // namespace velmorida::win32
