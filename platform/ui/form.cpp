#include "platform/ui/form.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"

namespace ui {

namespace {

// The frame of a classic dialog window: the resize rules of the dialogs count in outer sizes
// with this frame, whatever frame the system draws.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;

Button* FindButton(const Control& control, bool (Button::*flag)() const) {
  for (Control* child : control.Children()) {
    if (child->GetKind() == Control::Kind::kButton) {
      auto* button = static_cast<Button*>(child);
      if ((button->*flag)()) return button;
    }
    if (Button* found = FindButton(*child, flag)) return found;
  }
  return nullptr;
}

}  // namespace

Form::Form(Application& app) : Control(nullptr, Kind::kForm), app_(app) {
  SetVisible(false);
}

Form::~Form() = default;

void Form::SetClientSize(Size size) {
  clientSize_ = size;
  SetBounds({Bounds().left, Bounds().top, size.width, size.height});
}

Size Form::OuterSize() const {
  return {clientSize_.width + kFrameWidth, clientSize_.height + kFrameHeight};
}

void Form::SetOuterSize(Size size) {
  SetClientSize({size.width - kFrameWidth, size.height - kFrameHeight});
}

void Form::SetMenu(MainMenu* menu) {
  menu_ = menu;
  if (menu_) menu_->AttachTo(this);
}

void Form::Realize() {
  RealizeTree(app_.GetBackend());
  if (menu_) Notify(Prop::kMenu);
}

void Form::Show() {
  showing_ = true;
  SetVisible(true);
}

ModalResult Form::ShowModal() {
  modalResult_ = ModalResult::kNone;
  return app_.GetBackend().RunModal(*this);
}

void Form::Close() {
  if (modal_) {
    modalResult_ = ModalResult::kCancel;
    return;
  }
  if (!RunCloseHandler()) return;
  showing_ = false;
  SetVisible(false);
}

bool Form::RunCloseHandler() {
  CloseAction action = CloseAction::kHide;
  if (OnClose) OnClose(action);
  return action != CloseAction::kNone;
}

Button* Form::DefaultButton() const {
  return FindButton(*this, &Button::Default);
}
Button* Form::CancelButton() const {
  return FindButton(*this, &Button::Cancel);
}

void Form::KeyDown(Control& focused, int key) {
  focused.KeyPressed(key);
  if (key == kKeyReturn) {
    Button* target =
        focused.GetKind() == Kind::kButton ? static_cast<Button*>(&focused) : DefaultButton();
    if (target) target->Click();
  } else if (key == kKeyEscape) {
    if (Button* cancel = CancelButton())
      cancel->Click();
    else if (modal_)
      Close();
  }
}

void Form::Activated() {
  if (OnActivate) OnActivate();
}

void Form::Resized(Size outer) {
  int width = std::max(outer.width, minimumOuterSize_.width);
  int height = std::max(outer.height, minimumOuterSize_.height);
  bool allow = true;
  if (OnCanResize) OnCanResize(width, height, allow);
  if (allow) SetOuterSize({width, height});
}

}  // namespace ui
