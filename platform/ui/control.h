// The base of every control and form: state that a backend mirrors, and the events it raises.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/peer.h"
#include "platform/ui/types.h"

namespace ui {

class Form;

class Control {
 public:
  enum class Kind {
    kForm,
    kButton,
    kCheckBox,
    kRadioButton,
    kLabel,
    kGroupBox,
    kEdit,
    kListBox,
    kComboBox,
    kStatusBar,
    kListView,
  };

  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  Kind GetKind() const { return kind_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  Form& OwnerForm();
  // Bounds relative to the owner form's client area.
  Rect BoundsInForm() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(Rect bounds);
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  // Visible and Enabled as set on this control; a control shows only when its parents do too.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const Font& TextFont() const { return font_; }
  void SetTextFont(Font font);
  void SetFontColor(Color color);
  // "short|long": the status bar shows the long form.
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor);
  void SetFocus();

  std::function<void()> OnClick;
  std::function<void()> OnMouseMove;
  // Keys pressed while the control has the focus; a handler may set the key to 0 to swallow it.
  std::function<void(int& key)> OnKeyDown;

  Peer* GetPeer() const { return peer_.get(); }
  // A click by the user (or a test driving the sim): the control's own click behaviour.
  virtual void Click();
  // Reports mouse movement over the control, as the backend sees it.
  void MouseMoved();
  // Runs OnKeyDown; a control that acts on keys itself may use the key up too.
  virtual void KeyPressed(int& key);
  // Width of a text in this control's font, in design pixels.
  int TextWidth(std::string_view text);

 protected:
  Control(Control* parent, Kind kind);
  void Notify(Prop prop, int index = -1);
  void RealizeTree(Backend& backend);

 private:
  Control* parent_;
  Kind kind_;
  std::vector<Control*> children_;
  std::string caption_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  Font font_;
  std::string hint_;
  Cursor cursor_ = Cursor::kDefault;
  std::unique_ptr<Peer> peer_;
};

}  // namespace ui
