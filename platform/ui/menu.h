// A form's menu bar: items with captions, check marks, enabled state and click handlers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Form;

class MenuItem {
 public:
  // `id` is the item's command number; 0 takes the next free one. A fixed number lets another
  // process (a test driving the program) choose the item.
  explicit MenuItem(std::string caption = {}, int id = 0);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  // Adds a child item; the parent keeps a reference to it, the caller owns it.
  MenuItem& Add(MenuItem& child);
  const std::vector<MenuItem*>& Items() const { return items_; }
  MenuItem* Parent() const { return parent_; }
  bool IsSeparator() const { return caption_ == "-"; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  std::function<void()> OnClick;
  // A click by the user, or by a test: runs OnClick when the item is enabled.
  void Click();

  // The command number the backend reports a choice of this item with.
  int Id() const { return id_; }
  void AttachTo(Form* form);

 private:
  void Changed();

  std::string caption_;
  bool enabled_ = true;
  bool checked_ = false;
  MenuItem* parent_ = nullptr;
  std::vector<MenuItem*> items_;
  Form* form_ = nullptr;
  int id_;
};

// The bar itself: its items are the menus.
class MainMenu : public MenuItem {
 public:
  MainMenu() = default;
  MenuItem* FindById(int id);
};

}  // namespace ui
