#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace ui {

Control::Control(Control* parent, Kind kind) : parent_(parent), kind_(kind) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;
  }
}

Control::~Control() {
  peer_.reset();
  if (parent_) std::erase(parent_->children_, this);
}

Form& Control::OwnerForm() {
  Control* control = this;
  while (control->parent_)
    control = control->parent_;
  return static_cast<Form&>(*control);
}

Rect Control::BoundsInForm() const {
  Rect rect = bounds_;
  for (const Control* up = parent_; up && up->parent_; up = up->parent_) {
    rect.left += up->bounds_.left;
    rect.top += up->bounds_.top;
  }
  return rect;
}

void Control::Notify(Prop prop, int index) {
  if (peer_) peer_->Changed(prop, index);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Notify(Prop::kCaption);
}

void Control::SetBounds(Rect bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Notify(Prop::kBounds);
  // Children of a moved container move with it.
  for (Control* child : children_)
    child->Notify(Prop::kBounds);
}

void Control::SetLeft(int left) {
  SetBounds({left, bounds_.top, bounds_.width, bounds_.height});
}
void Control::SetTop(int top) {
  SetBounds({bounds_.left, top, bounds_.width, bounds_.height});
}
void Control::SetWidth(int width) {
  SetBounds({bounds_.left, bounds_.top, width, bounds_.height});
}
void Control::SetHeight(int height) {
  SetBounds({bounds_.left, bounds_.top, bounds_.width, height});
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(Prop::kVisible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(Prop::kEnabled);
}

void Control::SetTextFont(Font font) {
  if (font == font_) return;
  font_ = std::move(font);
  Notify(Prop::kFont);
}

void Control::SetFontColor(Color color) {
  Font font = font_;
  font.color = color;
  SetTextFont(std::move(font));
}

void Control::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  Notify(Prop::kCursor);
}

void Control::SetFocus() {
  Notify(Prop::kFocus);
}

void Control::Click() {
  if (OnClick) OnClick();
}

void Control::MouseMoved() {
  OwnerForm().App().HintFrom(this);
  if (OnMouseMove) OnMouseMove();
}

void Control::KeyPressed(int& key) {
  if (OnKeyDown) OnKeyDown(key);
}

int Control::TextWidth(std::string_view text) {
  return OwnerForm().App().GetBackend().TextWidth(font_, text);
}

void Control::RealizeTree(Backend& backend) {
  if (!peer_) peer_ = backend.CreatePeer(*this);
  for (Control* child : children_)
    child->RealizeTree(backend);
}

}  // namespace ui
