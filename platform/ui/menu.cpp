#include "platform/ui/menu.h"

#include "platform/ui/form.h"

namespace ui {

namespace {
int nextMenuId = 1000;

MenuItem* Find(MenuItem& item, int id) {
  if (item.Id() == id) return &item;
  for (MenuItem* child : item.Items()) {
    if (MenuItem* found = Find(*child, id)) return found;
  }
  return nullptr;
}
}  // namespace

MenuItem::MenuItem(std::string caption, int id)
    : caption_(std::move(caption)), id_(id != 0 ? id : nextMenuId++) {}

MenuItem& MenuItem::Add(MenuItem& child) {
  child.parent_ = this;
  child.form_ = form_;
  items_.push_back(&child);
  return child;
}

void MenuItem::AttachTo(Form* form) {
  form_ = form;
  for (MenuItem* child : items_)
    child->AttachTo(form);
}

void MenuItem::Changed() {
  if (form_ && form_->GetPeer()) form_->GetPeer()->MenuItemChanged(*this);
}

void MenuItem::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void MenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
}

void MenuItem::Click() {
  if (enabled_ && OnClick) OnClick();
}

MenuItem* MainMenu::FindById(int id) {
  return Find(*this, id);
}

}  // namespace ui
