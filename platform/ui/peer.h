// The seam between the controls (state and events, the same on every backend) and a backend:
// the native window of a control (win32) or nothing at all (the headless sim).
#pragma once

#include <memory>
#include <string_view>

#include "platform/ui/types.h"

namespace ui {

class Application;
class Control;
class Form;
class MenuItem;

// What changed on a control; a peer reads the new state from its control.
enum class Prop {
  kCaption,
  kBounds,
  kVisible,
  kEnabled,
  kFont,
  kChecked,
  kText,
  kItems,        // the whole item list was replaced or cleared
  kItemAdded,    // index: the new item's position
  kItemDeleted,  // index: the position it had
  kSelection,    // index: one item, or -1 for all
  kItemIndex,    // the current item (list box caret, combo box choice)
  kHorizontalExtent,
  kPanelText,      // index: the status-bar panel
  kPanelProgress,  // index: the status-bar panel
  kDoubleBuffered,
  kCursor,
  kFocus,
  kMenu,  // the form's menu bar was built
  // List views
  kColumns,     // index: the column whose caption or width changed, or -1 for all of them
  kCheckBoxes,  // shown or not
  kRowCount,    // the row count changed; selection and focus were cleared
  kRows,        // index: a row to show anew, or -1 for every row
  kSortArrow,
  kScrollTo,  // index: the row to bring into view
};

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Changed(Prop prop, int index) = 0;
  virtual void MenuItemChanged(MenuItem& item) = 0;
  // Draws the control now rather than when the message loop gets to it.
  virtual void Repaint() = 0;
};

// A backend: builds peers and runs the loops.
class Backend {
 public:
  virtual ~Backend() = default;
  // The application that the loops report messages and hints to.
  virtual void Attach(Application& app) = 0;
  // Called for each control once its form is realized, parents before children.
  virtual std::unique_ptr<Peer> CreatePeer(Control& control) = 0;
  virtual void RunMainLoop(Form& mainForm) = 0;
  // Shows the form modally and returns when its modal result is set or it is closed.
  virtual ModalResult RunModal(Form& form) = 0;
  virtual void ProcessMessages() = 0;
  virtual void Restore() = 0;
  // SetForegroundWindow and SetActiveWindow on the form's window.
  virtual void BringToFront(Form& form) = 0;
  virtual int TextWidth(const Font& font, std::string_view text) = 0;
  // MessageBoxEx with a language identifier; returns the button pressed.
  virtual int MessageBox(Form* owner, std::string_view text, std::string_view caption,
                         unsigned style, unsigned short languageId) = 0;
};

}  // namespace ui
