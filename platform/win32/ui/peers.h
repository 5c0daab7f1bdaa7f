// One peer per control kind; each lives in its own file.
#pragma once

#include <memory>

#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/radio_button.h"
#include "platform/ui/status_bar.h"
#include "platform/win32/ui/control_peer.h"

namespace platform::win32 {

std::unique_ptr<ControlPeer> MakeButtonPeer(FormPeer& form, ui::Button& button);
std::unique_ptr<ControlPeer> MakeCheckBoxPeer(FormPeer& form, ui::CheckBox& checkBox);
std::unique_ptr<ControlPeer> MakeRadioButtonPeer(FormPeer& form, ui::RadioButton& radioButton);
std::unique_ptr<ControlPeer> MakeLabelPeer(FormPeer& form, ui::Label& label);
std::unique_ptr<ControlPeer> MakeGroupBoxPeer(FormPeer& form, ui::GroupBox& groupBox);
std::unique_ptr<ControlPeer> MakeEditPeer(FormPeer& form, ui::Edit& edit);
std::unique_ptr<ControlPeer> MakeListBoxPeer(FormPeer& form, ui::ListBox& listBox);
std::unique_ptr<ControlPeer> MakeComboBoxPeer(FormPeer& form, ui::ComboBox& comboBox);
std::unique_ptr<ControlPeer> MakeStatusBarPeer(FormPeer& form, ui::StatusBar& statusBar);
std::unique_ptr<ControlPeer> MakeListViewPeer(FormPeer& form, ui::ListView& listView);

}  // namespace platform::win32
