// The native menu bar of a form, built from its MainMenu and kept equal to it.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

class MenuBar {
 public:
  explicit MenuBar(const ui::MainMenu& menu);

  HMENU Handle() const { return bar_.Get(); }
  // Mirrors an item's caption, check mark and enabled state.
  void Update(const ui::MenuItem& item);

 private:
  void Fill(HMENU menu, const ui::MenuItem& parent);

  UniqueMenu bar_;
  // The native menu that holds the children of each item with children, and of the bar.
  std::unordered_map<const ui::MenuItem*, HMENU> menus_;
};

// The captions of one menu with a mnemonic each, so that Alt+letter works although the program's
// captions carry none: the first letter or digit not yet taken in that menu. A caption that has
// a mnemonic keeps it; "&&" stays a plain ampersand.
std::vector<std::wstring> WithMnemonics(std::vector<std::wstring> captions);

}  // namespace platform::win32
