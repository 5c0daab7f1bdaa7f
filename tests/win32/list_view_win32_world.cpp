// The list view contract on a real SysListView32: the user's clicks and keys are window
// messages posted to the list (or its header) and go through the backend's message loop, as the
// system's own input does; what the list shows is read back with LVM_* and HDM_* messages.
#include <memory>

#include "platform/ui/application.h"
#include "platform/win32/ui/list_view_peer.h"
#include "platform/win32/ui/text.h"
#include "platform/win32/ui/win32_ui.h"
#include "tests/platform/list_view_contract.h"

namespace testing_list_view {

namespace {

using platform::win32::WindowOf;

// Ctrl and Shift held, as the system's keyboard state says while the input is handled.
class HeldKeys {
 public:
  explicit HeldKeys(ui::KeyModifiers modifiers) {
    ::GetKeyboardState(saved_);
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = modifiers.ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = modifiers.shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;
  ~HeldKeys() { ::SetKeyboardState(saved_); }

 private:
  BYTE saved_[256] = {};
};

class Win32ListViewWorld final : public ListViewWorld {
 public:
  explicit Win32ListViewWorld(std::vector<Row> rows) : form_(app_, std::move(rows)) {
    if (!Showing()) return;
    form_.Show();
    ::SetForegroundWindow(WindowOf(form_));
    ::SetFocus(ListWindow());
    Settle();
  }

  bool Showing() const { return WindowOf(form_) != nullptr; }
  CheckListForm& Form() override { return form_; }

  void ClickCheckBox(int row) override { Click(ListWindow(), BoxPoint(row), {}, 1); }
  void DoubleClickCheckBox(int row) override { Click(ListWindow(), BoxPoint(row), {}, 2); }
  void ClickRow(int row, ui::KeyModifiers modifiers) override {
    Click(ListWindow(), RowPoint(row), modifiers, 1);
  }
  void DoubleClickRow(int row) override { Click(ListWindow(), RowPoint(row), {}, 2); }
  void ClickHeader(int column) override {
    HWND header = Header();
    RECT rect{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&rect));
    Click(header, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, {}, 1);
  }
  void Press(int key, ui::KeyModifiers modifiers) override {
    const HeldKeys held(modifiers);
    const auto scan =
        static_cast<LPARAM>(::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC));
    ::PostMessageW(ListWindow(), WM_KEYDOWN, static_cast<WPARAM>(key), 1 | (scan << 16));
    ::PostMessageW(ListWindow(), WM_KEYUP, static_cast<WPARAM>(key),
                   1 | (scan << 16) | (LPARAM{3} << 30));
    Settle();
  }
  // Until the queue holds no input, posted or sent message or paint; timers are left alone.
  void Settle() override {
    const ULONGLONG until = ::GetTickCount64() + 5000;
    constexpr UINT kWaiting = QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT;
    while (HIWORD(::GetQueueStatus(kWaiting)) != 0 && ::GetTickCount64() < until)
      app_.ProcessMessages();
  }

  int PageRows() override { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }
  std::optional<bool> BoxShown(int row) override {
    const auto image =
        static_cast<UINT>((Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
                           LVIS_STATEIMAGEMASK) >>
                          12);
    if (image == platform::win32::kNoBoxImage) return std::nullopt;
    return image == platform::win32::kCheckedImage;
  }
  bool SelectedShown(int row) override {
    return Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
  }
  int FocusShown() override {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  }
  Order ArrowShown(int column) override {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    ::SendMessageW(Header(), HDM_GETITEMW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&item));
    if (item.fmt & HDF_SORTUP) return Order::kAscending;
    if (item.fmt & HDF_SORTDOWN) return Order::kDescending;
    return Order::kNone;
  }
  std::string CellShown(int row, int column) override {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return platform::win32::Narrow(text);
  }

 private:
  HWND ListWindow() const { return WindowOf(form_.list); }
  HWND Header() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(ListWindow(), message, wParam, lParam);
  }

  RECT RowRect(int row, int part) const {
    Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT rect{};
    rect.left = part;
    Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  // The middle of the row's name; for -1 a point below the last row.
  POINT RowPoint(int row) const {
    if (row < 0) {
      RECT client{};
      ::GetClientRect(ListWindow(), &client);
      return {20, client.bottom - 3};
    }
    const RECT label = RowRect(row, LVIR_LABEL);
    return {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
  }
  // Where the list's own hit test finds the row's box, or where it would be.
  POINT BoxPoint(int row) const {
    const RECT bounds = RowRect(row, LVIR_BOUNDS);
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 48; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = {x, y};
      if (Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
          (hit.flags & LVHT_ONITEMSTATEICON)) {
        return {x + 3, y};
      }
    }
    return {bounds.left + 8, y};
  }
  void Click(HWND window, POINT at, ui::KeyModifiers modifiers, int clicks) {
    const HeldKeys held(modifiers);
    const WPARAM keys = (modifiers.ctrl ? MK_CONTROL : 0) | (modifiers.shift ? MK_SHIFT : 0);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    for (int click = 0; click < clicks; ++click) {
      ::PostMessageW(window, click == 0 ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, keys | MK_LBUTTON,
                     where);
      ::PostMessageW(window, WM_LBUTTONUP, keys, where);
      Settle();
    }
  }

  platform::win32::Win32Ui backend_;
  ui::Application app_{backend_};
  CheckListForm form_;
};

std::unique_ptr<ListViewWorld> MakeWin32ListViewWorld(std::vector<Row> rows) {
  auto world = std::make_unique<Win32ListViewWorld>(std::move(rows));
  if (!world->Showing()) return nullptr;
  return world;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, ListViewContract,
                         ::testing::Values(ListViewWorldFactory(&MakeWin32ListViewWorld)));

}  // namespace testing_list_view
