// A top-level window: the main window or a dialog. Its controls are members of the class that
// derives from it; their handlers are member functions.
#pragma once

#include <functional>

#include "platform/ui/control.h"

namespace ui {

class Application;
class Button;
class MainMenu;

class Form : public Control {
 public:
  enum class Border { kSingle, kDialog, kSizeable };
  enum class Position { kDesktopCenter, kMainFormCenter };

  explicit Form(Application& app);
  ~Form() override;

  Application& App() const { return app_; }
  // The form's name, also its window class: "TFrmMain", "TFrmoption" ...
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  Size ClientSize() const { return clientSize_; }
  void SetClientSize(Size size);
  // The outer size of the window, with the fixed frame the layouts were designed with.
  Size OuterSize() const;
  void SetOuterSize(Size size);
  // The smallest outer size a sizeable form can be given, by the user or by its resize rule: the
  // size at which its controls still all show. None (0 by 0) by default.
  Size MinimumOuterSize() const { return minimumOuterSize_; }
  void SetMinimumOuterSize(Size size) { minimumOuterSize_ = size; }
  Border GetBorder() const { return border_; }
  void SetBorder(Border border) { border_ = border; }
  bool MinimizeBox() const { return minimizeBox_; }
  void SetMinimizeBox(bool on) { minimizeBox_ = on; }
  Position GetPosition() const { return position_; }
  void SetPosition(Position position) { position_ = position; }
  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* menu);

  // Creates the native side of the form and its controls; the form's constructor calls it
  // once every control is set up.
  void Realize();

  void Show();
  ModalResult ShowModal();
  bool Showing() const { return showing_; }
  bool Modal() const { return modal_; }
  // Closes as the close box does: a modal form ends with kCancel, the main form ends the loop.
  void Close();
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }

  // The buttons that Enter and Escape press.
  Button* DefaultButton() const;
  Button* CancelButton() const;
  // A key pressed on a control of this form: the control's key handler first, then the dialog
  // keys (Enter presses the focused button or else the default one, Escape the cancel button, or
  // closes a modal form that has none, as its close box does).
  void KeyDown(Control& focused, int key);

  std::function<void()> OnActivate;
  std::function<void(CloseAction& action)> OnClose;
  // The new outer size; the handler lays the controls out and may refuse the size.
  std::function<void(int& width, int& height, bool& allow)> OnCanResize;

  // --- For backends
  void Activated();
  // Runs OnClose; false when the handler refused the close.
  bool RunCloseHandler();
  void SetShowing(bool showing) { showing_ = showing; }
  void SetModal(bool modal) { modal_ = modal; }
  // The user resized the window to this outer size (design pixels); it is kept to the minimum.
  void Resized(Size outer);

 private:
  Application& app_;
  std::string name_;
  Size clientSize_;
  Size minimumOuterSize_;
  Border border_ = Border::kSingle;
  bool minimizeBox_ = false;
  Position position_ = Position::kMainFormCenter;
  MainMenu* menu_ = nullptr;
  bool showing_ = false;
  bool modal_ = false;
  ModalResult modalResult_ = ModalResult::kNone;
};

}  // namespace ui
