#include "platform/win32/ui/list_view_peer.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <algorithm>
#include <cmath>

#include "platform/win32/ui/peers.h"
#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

// Posted to the list itself once a batch of the user's selection changes is in.
constexpr UINT kSelectionEventMessage = WM_APP + 0x4C56;

// From this many selected rows on, a change to the selection is made with drawing paused: the
// native list would otherwise invalidate row by row (under Wine a server call each, 16 s for
// selecting or deselecting 100,000 rows).
constexpr int kManyRows = 256;

// The list draws nothing while this lives, then itself once.
class DrawingPaused {
 public:
  explicit DrawingPaused(HWND list) : list_(list) { ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }
  DrawingPaused(const DrawingPaused&) = delete;
  DrawingPaused& operator=(const DrawingPaused&) = delete;
  ~DrawingPaused() {
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, FALSE);
  }

 private:
  HWND list_;
};

int ColumnFormat(ui::ListView::Align align) {
  switch (align) {
    case ui::ListView::Align::kRight:
      return LVCFMT_RIGHT;
    case ui::ListView::Align::kCenter:
      return LVCFMT_CENTER;
    case ui::ListView::Align::kLeft:
      break;
  }
  return LVCFMT_LEFT;
}

// A check box image, ticked or not, as buttons draw it, in a square cell of `size` pixels on
// the mask colour.
void DrawBox(HWND list, HDC dc, int size, int box, bool checked, COLORREF mask) {
  const RECT cell{0, 0, size, size};
  HBRUSH background = ::CreateSolidBrush(mask);
  ::FillRect(dc, &cell, background);
  ::DeleteObject(background);
  const int margin = (size - box) / 2;
  RECT frame{margin, margin, margin + box, margin + box};
  if (HTHEME theme = ::OpenThemeData(list, L"BUTTON")) {
    ::DrawThemeBackground(theme, dc, BP_CHECKBOX, checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL,
                          &frame, nullptr);
    ::CloseThemeData(theme);
  } else {
    ::DrawFrameControl(dc, &frame, DFC_BUTTON,
                       DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
  }
}

ui::ListView::Modifiers KeyboardModifiers() {
  return {::GetKeyState(VK_CONTROL) < 0, ::GetKeyState(VK_SHIFT) < 0};
}

}  // namespace

ListViewPeer::ListViewPeer(FormPeer& form, ui::ListView& list)
    : ControlPeer(form, list), list_(list) {
  Create(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
         WS_EX_CLIENTEDGE);
  if (!Window()) return;
  ::SetWindowTheme(Window(), L"Explorer", nullptr);
  Send(LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK);
  ApplyStyle();
  ApplyColumns();
  ApplyBoxImages();
  applying_ = true;
  Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(list.RowCount()));
  applying_ = false;
  ApplySelection(-1);
  ApplyFocus();
}

void ListViewPeer::Apply(ui::Prop prop, int index) {
  switch (prop) {
    case ui::Prop::kColumns:
      if (index < 0)
        ApplyColumns();
      else
        ApplyColumn(index);
      break;
    case ui::Prop::kCheckBoxes:
      ApplyStyle();
      ApplyBoxImages();
      ::InvalidateRect(Window(), nullptr, FALSE);
      break;
    case ui::Prop::kRowCount:
      ApplyRowCount();
      break;
    case ui::Prop::kRows:
      if (index < 0)
        ::InvalidateRect(Window(), nullptr, FALSE);
      else
        Send(LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
      break;
    case ui::Prop::kSelection:
      ApplySelection(index);
      break;
    case ui::Prop::kItemIndex:
      ApplyFocus();
      break;
    case ui::Prop::kSortArrow:
      ApplySortArrow();
      break;
    case ui::Prop::kScrollTo:
      Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
      break;
    default:
      break;
  }
}

void ListViewPeer::Layout() {
  ControlPeer::Layout();
  if (columnsDpi_ == Form().Dpi()) return;
  ApplyColumnWidths();
  ApplyBoxImages();
}

void ListViewPeer::ApplyStyle() {
  constexpr DWORD kMask =
      LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP | LVS_EX_CHECKBOXES;
  const DWORD style = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP |
                      (list_.CheckBoxes() ? LVS_EX_CHECKBOXES : 0);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kMask, static_cast<LPARAM>(style));
}

// The boxes the native list makes for LVS_EX_CHECKBOXES have the size of the system's dpi when
// it made them; these follow the form's, as its fonts do.
void ListViewPeer::ApplyBoxImages() {
  if (!list_.CheckBoxes()) return;
  const int size = Form().Scale(16);
  const int box = Form().Scale(13);
  constexpr COLORREF kMask = RGB(255, 0, 255);
  HIMAGELIST images = ::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0);
  if (!images) return;
  const ScreenDc screen;
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
  for (bool checked : {false, true}) {
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), size, size);
    const HGDIOBJ old = ::SelectObject(dc.Get(), bitmap);
    DrawBox(Window(), dc.Get(), size, box, checked, kMask);
    ::SelectObject(dc.Get(), old);
    ::ImageList_AddMasked(images, bitmap, kMask);  // image 1: empty, 2: ticked
    ::DeleteObject(bitmap);
  }
  // The list owns its state images from now on and lets go of the ones it had.
  HIMAGELIST previous = reinterpret_cast<HIMAGELIST>(
      Send(LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(images)));
  if (previous && previous != images) ::ImageList_Destroy(previous);
}

void ListViewPeer::ApplyColumns() {
  while (Send(LVM_DELETECOLUMN, 0)) {
  }
  for (int i = 0; i < list_.ColumnCount(); ++i) {
    const ui::ListView::Column& model = list_.GetColumn(i);
    std::wstring caption = Wide(model.caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = ColumnFormat(model.align);
    column.cx = Form().Scale(model.width);
    column.pszText = caption.data();
    column.iSubItem = i;
    Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  columnsDpi_ = Form().Dpi();
  ApplySortArrow();
}

void ListViewPeer::ApplyColumn(int index) {
  const ui::ListView::Column& model = list_.GetColumn(index);
  std::wstring caption = Wide(model.caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = ColumnFormat(model.align);
  column.cx = Form().Scale(model.width);
  column.pszText = caption.data();
  Send(LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  // Setting the format drops the header's sort arrow.
  ApplySortArrow();
}

void ListViewPeer::ApplyColumnWidths() {
  for (int i = 0; i < list_.ColumnCount(); ++i)
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), Form().Scale(list_.GetColumn(i).width));
  columnsDpi_ = Form().Dpi();
}

void ListViewPeer::ApplyRowCount() {
  const DrawingPaused paused(Window());
  applying_ = true;
  Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(list_.RowCount()));
  applying_ = false;
  // The model dropped its selection and focus with the old rows.
  SetState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  Send(LVM_SETSELECTIONMARK, 0, -1);
}

void ListViewPeer::ApplySelection(int row) {
  if (row >= 0) {
    SetState(row, list_.Selected(row) ? LVIS_SELECTED : 0, LVIS_SELECTED);
    return;
  }
  const std::vector<ui::RowSet::Range>& ranges = list_.Selection().Ranges();
  const bool all = ranges.size() == 1 && ranges.front().first == 0 &&
                   ranges.front().last == list_.RowCount() - 1;
  const DrawingPaused paused(Window());
  SetState(-1, all ? LVIS_SELECTED : 0, LVIS_SELECTED);
  if (all) return;
  for (const ui::RowSet::Range& range : ranges) {
    for (int selected = range.first; selected <= range.last; ++selected)
      SetState(selected, LVIS_SELECTED, LVIS_SELECTED);
  }
}

void ListViewPeer::ApplyFocus() {
  const int focused = list_.FocusedRow();
  if (focused < 0) {
    SetState(-1, 0, LVIS_FOCUSED);
    return;
  }
  SetState(focused, LVIS_FOCUSED, LVIS_FOCUSED);
  // Shift extends from here, as after a click.
  Send(LVM_SETSELECTIONMARK, 0, focused);
}

void ListViewPeer::ApplySortArrow() {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (!header) return;
  for (int i = 0; i < list_.ColumnCount(); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == list_.SortColumn()) {
      item.fmt |=
          list_.GetSortOrder() == ui::ListView::SortOrder::kAscending ? HDF_SORTUP : HDF_SORTDOWN;
    }
    ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void ListViewPeer::SetState(int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  applying_ = true;
  Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  applying_ = false;
}

bool ListViewPeer::Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return ClickOnBox(message, wParam, lParam) ||
             ManyRowsByNative(message, wParam, lParam, result);
    case WM_KEYDOWN:
      return KeyDown(wParam) || ManyRowsByNative(message, wParam, lParam, result);
    case WM_CHAR:
      if (swallowChar_ == 0 || wParam != swallowChar_) return false;
      swallowChar_ = 0;
      return true;
    case kSelectionEventMessage:
      eventPending_ = false;
      // A click on the selected row deselects and selects it again: no change in the end.
      if (list_.Selection() != batchSelection_ || list_.FocusedRow() != batchFocus_) {
        list_.SelectionChangedByUser();
      }
      batchSelection_.Clear();
      return true;
    default:
      return false;
  }
}

bool ListViewPeer::ManyRowsByNative(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (list_.SelectedCount() < kManyRows) return false;
  // A click or a key may deselect them all.
  const DrawingPaused paused(Window());
  result = CallNative(message, wParam, lParam);
  return true;
}

bool ListViewPeer::ClickOnBox(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!list_.CheckBoxes()) return false;
  LVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const int row = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
  if (!list_.Checkable(row)) {
    // A row without a box: a click where the box would be is a click on the row.
    RECT label{};
    label.left = LVIR_LABEL;
    Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    CallNative(message, wParam, MAKELPARAM(label.left + 1, hit.pt.y));
    return true;
  }
  if (::GetFocus() != Window()) ::SetFocus(Window());
  // A second click in quick succession arrives as a double-click: it ticks again, as a check
  // box does, and activates nothing.
  list_.UserClickCheckBox(row);
  return true;
}

bool ListViewPeer::KeyDown(WPARAM key) {
  const ui::ListView::Modifiers modifiers = KeyboardModifiers();
  if (key == VK_SPACE) {
    swallowChar_ = L' ';
  } else if (key == 'A' && modifiers.ctrl && !modifiers.shift) {
    swallowChar_ = 0x01;  // Ctrl+A's character
  } else {
    return false;  // the native list moves the focus and selects, and reports it
  }
  list_.UserKeyDown(static_cast<int>(key), modifiers);
  return true;
}

LRESULT ListViewPeer::NotifyReceived(NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      return 0;
    case LVN_ODFINDITEMW: {
      const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
      if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
      return list_.FindRow(Narrow(find.lvfi.psz), find.iStart);
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (!(change.uChanged & LVIF_STATE)) return 0;
      if (change.iItem < 0)
        StateChanged(0, list_.RowCount() - 1, change.uOldState, change.uNewState, true);
      else
        StateChanged(change.iItem, change.iItem, change.uOldState, change.uNewState, false);
      return 0;
    }
    case LVN_ODSTATECHANGED: {
      const auto& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
      StateChanged(change.iFrom, change.iTo, change.uOldState, change.uNewState, false);
      return 0;
    }
    case LVN_COLUMNCLICK:
      list_.UserClickHeader(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return 0;
    case LVN_ITEMACTIVATE: {
      const int row = reinterpret_cast<NMITEMACTIVATE&>(header).iItem;
      list_.UserActivate(row >= 0 ? row : list_.FocusedRow());
      return 0;
    }
    case NM_CUSTOMDRAW:
      return CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    default:
      return 0;
  }
}

void ListViewPeer::FillDisplayInfo(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  const int row = item.iItem;
  const int column = item.iSubItem;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const bool bar = column >= 0 && column < list_.ColumnCount() && list_.GetColumn(column).bar;
    const std::wstring text = bar ? std::wstring() : Wide(list_.Cell(row, column));
    size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    // Never half a surrogate pair when the native buffer cuts the text short.
    if (length < text.size() && length > 0 && IS_HIGH_SURROGATE(text[length - 1])) --length;
    std::copy_n(text.data(), length, item.pszText);
    item.pszText[length] = L'\0';
  }
  if (item.mask & LVIF_STATE) {
    UINT image = kNoBoxImage;
    if (list_.Checkable(row)) image = list_.Checked(row) ? kCheckedImage : kUncheckedImage;
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(image);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

void ListViewPeer::StateChanged(int first, int last, UINT oldState, UINT newState, bool everyRow) {
  const UINT changed = oldState ^ newState;
  if (applying_ || !(changed & (LVIS_SELECTED | LVIS_FOCUSED))) return;
  if (!eventPending_) {
    batchSelection_ = list_.Selection();
    batchFocus_ = list_.FocusedRow();
  }
  if (changed & LVIS_SELECTED) {
    // "Every row deselected" may spare the row clicked: the selection is read back.
    if (everyRow && !(newState & LVIS_SELECTED))
      SelectionFromNative();
    else
      list_.ReportSelected(first, last, (newState & LVIS_SELECTED) != 0);
  }
  // The new state says where the focus is (Wine's old state is not always right); a change of
  // many rows at once can only take it away.
  if (first == last && (newState & LVIS_FOCUSED))
    list_.ReportFocused(first, true);
  else if ((changed & LVIS_FOCUSED) && !(newState & LVIS_FOCUSED))
    list_.ReportFocused(first == last ? first : list_.FocusedRow(), false);
  PostSelectionEvent();
}

void ListViewPeer::SelectionFromNative() {
  list_.ReportSelected(0, list_.RowCount() - 1, false);
  const auto count = static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
  int row = -1;
  for (int found = 0; found < count; ++found) {
    row = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    list_.ReportSelected(row, row, true);
  }
}

void ListViewPeer::PostSelectionEvent() {
  if (eventPending_) return;
  eventPending_ = ::PostMessageW(Window(), kSelectionEventMessage, 0, 0) != FALSE;
}

LRESULT ListViewPeer::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      LRESULT result = HasBars() ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
      const int row = static_cast<int>(draw.nmcd.dwItemSpec);
      if (list_.KindAt(row) == ui::ListView::RowKind::kHeading) {
        ui::Font bold = list_.TextFont();
        bold.bold = true;
        ::SelectObject(draw.nmcd.hdc, Form().Font(bold));
        result |= CDRF_NEWFONT;
      }
      return result;
    }
    case CDDS_ITEMPOSTPAINT:
      DrawBars(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool ListViewPeer::HasBars() const {
  for (int i = 0; i < list_.ColumnCount(); ++i) {
    if (list_.GetColumn(i).bar) return true;
  }
  return false;
}

void ListViewPeer::DrawBars(HDC dc, int row) const {
  if (list_.KindAt(row) == ui::ListView::RowKind::kHeading) return;  // a group's name, no figures
  for (int column = 0; column < list_.ColumnCount(); ++column) {
    if (!list_.GetColumn(column).bar) continue;
    RECT cell{};
    cell.top = column;
    cell.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    if (!Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell))) {
      continue;
    }
    // A gauge inside the cell: a frame, the window's colour behind, so that the bar shows on
    // a selected row too, and the bar in the highlight colour.
    RECT frame = cell;
    ::InflateRect(&frame, -Form().Scale(4), -Form().Scale(3));
    if (frame.right - frame.left < 4 || frame.bottom - frame.top < 4) continue;
    ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inside = frame;
    ::InflateRect(&inside, -1, -1);
    ::FillRect(dc, &inside, ::GetSysColorBrush(COLOR_WINDOW));
    const double fraction = list_.Fraction(row, column);
    RECT bar = inside;
    bar.right = bar.left + static_cast<LONG>(std::lround(fraction * (inside.right - inside.left)));
    if (bar.right > bar.left) ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_HIGHLIGHT));
  }
}

std::unique_ptr<ControlPeer> MakeListViewPeer(FormPeer& form, ui::ListView& listView) {
  return std::make_unique<ListViewPeer>(form, listView);
}

}  // namespace platform::win32
