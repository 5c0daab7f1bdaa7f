#include "platform/win32/ui/menu_bar.h"

#include <optional>
#include <set>

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

wchar_t Upper(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
      ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
}

std::optional<size_t> MnemonicAt(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return i + 1;
    ++i;
  }
  return std::nullopt;
}

std::vector<std::wstring> Captions(const ui::MenuItem& parent) {
  std::vector<std::wstring> captions;
  for (const ui::MenuItem* item : parent.Items())
    captions.push_back(item->IsSeparator() ? std::wstring() : Wide(item->Caption()));
  return WithMnemonics(std::move(captions));
}

UINT StateFlags(const ui::MenuItem& item) {
  return (item.Checked() ? MFS_CHECKED : MFS_UNCHECKED) |
         (item.Enabled() ? MFS_ENABLED : MFS_GRAYED);
}

}  // namespace

std::vector<std::wstring> WithMnemonics(std::vector<std::wstring> captions) {
  std::set<wchar_t> taken;
  for (const std::wstring& caption : captions) {
    if (auto at = MnemonicAt(caption)) taken.insert(Upper(caption[*at]));
  }
  for (std::wstring& caption : captions) {
    if (MnemonicAt(caption)) continue;
    for (size_t i = 0; i < caption.size(); ++i) {
      if (caption[i] == L'&') {
        ++i;
        continue;
      }
      if (::IsCharAlphaNumericW(caption[i]) && taken.insert(Upper(caption[i])).second) {
        caption.insert(i, 1, L'&');
        break;
      }
    }
  }
  return captions;
}

MenuBar::MenuBar(const ui::MainMenu& menu) : bar_(::CreateMenu()) {
  if (bar_) Fill(bar_.Get(), menu);
}

void MenuBar::Fill(HMENU menu, const ui::MenuItem& parent) {
  menus_[&parent] = menu;
  const std::vector<std::wstring> captions = Captions(parent);
  for (size_t i = 0; i < captions.size(); ++i) {
    const ui::MenuItem& item = *parent.Items()[i];
    if (item.IsSeparator()) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.Checked() ? MF_CHECKED : MF_UNCHECKED) |
                       (item.Enabled() ? MF_ENABLED : MF_GRAYED);
    if (item.Items().empty()) {
      ::AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.Id()), captions[i].c_str());
      continue;
    }
    // The bar destroys its submenus with itself.
    HMENU popup = ::CreatePopupMenu();
    Fill(popup, item);
    ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), captions[i].c_str());
  }
}

void MenuBar::Update(const ui::MenuItem& item) {
  const auto found = menus_.find(item.Parent());
  if (found == menus_.end()) return;
  // A new caption can change which letters the other items of the menu get.
  std::vector<std::wstring> captions = Captions(*item.Parent());
  const std::vector<ui::MenuItem*>& siblings = item.Parent()->Items();
  for (size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i]->IsSeparator()) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = captions[i].data();
    if (siblings[i] == &item) {
      info.fMask |= MIIM_STATE;
      info.fState = StateFlags(item);
    }
    ::SetMenuItemInfoW(found->second, static_cast<UINT>(i), TRUE, &info);
  }
}

}  // namespace platform::win32
