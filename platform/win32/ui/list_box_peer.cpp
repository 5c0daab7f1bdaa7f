// A list box. The model decides where lines go (it sorts itself), so the native list is never
// LBS_SORT; user selections are read back whole, since extended selection changes many at once.
// While its form is hidden the native list is left as it is and filled once when the form shows:
// a scan in review mode adds a line per file found, to a dialog shown only at its end.
#include "platform/win32/ui/peers.h"

#include <vector>

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

class ListBoxPeer final : public ControlPeer {
 public:
  ListBoxPeer(FormPeer& form, ui::ListBox& list) : ControlPeer(form, list), list_(list) {
    Create(WC_LISTBOXW,
           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
               (list.MultiSelect() ? LBS_EXTENDEDSEL : 0),
           WS_EX_CLIENTEDGE);
    Refill();
    ApplyExtent();
  }

 private:
  void Apply(ui::Prop prop, int index) override {
    if (prop == ui::Prop::kItems || prop == ui::Prop::kItemAdded ||
        prop == ui::Prop::kItemDeleted) {
      stale_ = stale_ || !Form().Model().Visible();
    }
    if (stale_ && prop != ui::Prop::kHorizontalExtent) return;
    switch (prop) {
      case ui::Prop::kItems:
        Refill();
        break;
      case ui::Prop::kItemAdded:
        Send(LB_INSERTSTRING, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(Wide(list_.Item(index)).c_str()));
        break;
      case ui::Prop::kItemDeleted:
        Send(LB_DELETESTRING, static_cast<WPARAM>(index));
        break;
      case ui::Prop::kSelection:
        ApplySelection(index);
        break;
      case ui::Prop::kItemIndex:
        ApplyItemIndex();
        break;
      case ui::Prop::kHorizontalExtent:
        ApplyExtent();
        break;
      default:
        break;
    }
  }

  void Layout() override {
    ControlPeer::Layout();
    ApplyExtent();
  }

  void FormShowing() override {
    if (stale_) Refill();
  }

  void Notified(int code) override {
    if (code != LBN_SELCHANGE) return;
    if (!list_.MultiSelect()) {
      list_.UserSetItemIndex(static_cast<int>(Send(LB_GETCURSEL)));
      return;
    }
    const int count = static_cast<int>(Send(LB_GETSELCOUNT));
    std::vector<int> selected(static_cast<size_t>(std::max(count, 0)));
    if (count > 0)
      Send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
    std::vector<bool> on(static_cast<size_t>(list_.Count()));
    for (int index : selected) {
      if (index >= 0 && index < list_.Count()) on[static_cast<size_t>(index)] = true;
    }
    for (int i = 0; i < list_.Count(); ++i)
      list_.UserSelected(i, on[static_cast<size_t>(i)]);
    list_.UserSetItemIndex(static_cast<int>(Send(LB_GETCARETINDEX)));
  }

  // The whole list at once, without drawing each line: lists can hold 100,000 lines.
  void Refill() {
    stale_ = false;
    Send(WM_SETREDRAW, FALSE);
    Send(LB_RESETCONTENT);
    Send(LB_INITSTORAGE, static_cast<WPARAM>(list_.Count()),
         static_cast<LPARAM>(list_.Count()) * 64);
    for (int i = 0; i < list_.Count(); ++i) {
      Send(LB_INSERTSTRING, static_cast<WPARAM>(i),
           reinterpret_cast<LPARAM>(Wide(list_.Item(i)).c_str()));
      if (list_.MultiSelect() && list_.Selected(i)) Send(LB_SETSEL, TRUE, i);
    }
    ApplyItemIndex();
    Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(Window(), nullptr, TRUE);
  }

  void ApplySelection(int index) {
    if (!list_.MultiSelect()) {
      const int current = list_.ItemIndex();
      Send(LB_SETCURSEL,
           static_cast<WPARAM>(current >= 0 && list_.Selected(current) ? current : -1));
    } else if (index >= 0) {
      Send(LB_SETSEL, list_.Selected(index), index);
    } else {
      // Every line at once: the model selected or cleared them all alike.
      Send(LB_SETSEL, list_.Count() > 0 && list_.Selected(0), -1);
    }
  }

  void ApplyItemIndex() {
    if (list_.MultiSelect())
      Send(LB_SETCARETINDEX, static_cast<WPARAM>(list_.ItemIndex()), FALSE);
    else
      Send(LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()));
  }

  void ApplyExtent() {
    Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Form().Scale(list_.HorizontalExtent())));
  }

  ui::ListBox& list_;
  // The native list lags behind the model until the form shows.
  bool stale_ = false;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeListBoxPeer(FormPeer& form, ui::ListBox& listBox) {
  return std::make_unique<ListBoxPeer>(form, listBox);
}

}  // namespace platform::win32
