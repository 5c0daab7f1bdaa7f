// A list view: SysListView32 in report view with owner data, so that the native list holds no
// rows either: it asks for each cell as it draws it (LVN_GETDISPINFO) and the peer asks the
// model. It keeps its own selection (as ranges) and reports every change, which the peer hands
// to the model. Check states are the form's: the state image of each row is asked for like its
// text, and a click on a box and Space are handled here, never by the native list, which would
// tick the focused row alone.
#pragma once

#include "platform/ui/list_view.h"
#include "platform/win32/ui/control_peer.h"

namespace platform::win32 {

// State images of a row, as the native list's check boxes number them.
inline constexpr UINT kNoBoxImage = 0;
inline constexpr UINT kUncheckedImage = 1;
inline constexpr UINT kCheckedImage = 2;

class ListViewPeer final : public ControlPeer {
 public:
  ListViewPeer(FormPeer& form, ui::ListView& list);

 private:
  void Apply(ui::Prop prop, int index) override;
  void Layout() override;
  LRESULT NotifyReceived(NMHDR& header) override;
  bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  void ApplyStyle();
  void ApplyBoxImages();
  void ApplyColumns();
  void ApplyColumn(int index);
  void ApplyColumnWidths();
  void ApplyRowCount();
  void ApplySelection(int row);
  void ApplyFocus();
  void ApplySortArrow();
  // LVM_SETITEMSTATE without the change coming back as the user's.
  void SetState(int row, UINT state, UINT mask);

  // A left click or double-click on a row's check box; false when it is for the native list.
  bool ClickOnBox(UINT message, WPARAM wParam, LPARAM lParam);
  bool KeyDown(WPARAM key);
  // Native input while many rows are selected, with drawing paused; false for the usual path.
  bool ManyRowsByNative(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void FillDisplayInfo(NMLVDISPINFOW& info) const;
  // The native list changed rows first to last (every row at once: iItem -1).
  void StateChanged(int first, int last, UINT oldState, UINT newState, bool everyRow);
  void SelectionFromNative();
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  void DrawBars(HDC dc, int row) const;
  bool HasBars() const;
  // The user's changes come in several notifications (the old row deselected, the new one
  // selected and focused): the model's event follows once they are all in.
  void PostSelectionEvent();

  ui::ListView& list_;
  bool applying_ = false;
  bool eventPending_ = false;
  // The selection and the focus before the changes the pending event is for.
  ui::RowSet batchSelection_;
  int batchFocus_ = -1;
  // The character that the key handled here will send next (Space, or Ctrl+A's 0x01), which
  // would start a search for it.
  WPARAM swallowChar_ = 0;
  int columnsDpi_ = 0;
};

}  // namespace platform::win32
