// A one-line edit field.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/control.h"

namespace ui {

class Edit : public Control {
 public:
  Edit(Control* parent, Rect bounds);

  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  // The user typed: the text changes without going back to the native field.
  void TextTyped(std::string text) {
    text_ = std::move(text);
    if (OnChange) OnChange();
  }
  // The user changed the text (not raised for the program's own changes).
  std::function<void()> OnChange;

 private:
  std::string text_;
};

}  // namespace ui
