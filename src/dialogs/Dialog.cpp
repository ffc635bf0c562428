#include "dialogs/Dialog.h"

#include "app/HelpTopics.h"
#include "dialogs/DisplayPage.h"
#include "dialogs/EffectsPage.h"
#include "dialogs/EtcPage.h"
#include "dialogs/ImagePage.h"
#include "dialogs/MusicPage.h"
#include "forms/Application.h"
#include "forms/ControlRow.h"

namespace {
const DialogFrame kFrame = {"TSetDialog", "SetDialog",
                            std::string("Glimoraの設定：") + settings::key::ThemeName.dialog,
                            "System", forms::Dip(13), {forms::Dip(593), forms::Dip(414)}, app::kHelpImages};
}  // namespace

TSetDialog::TSetDialog(int theme) : SettingsDialog(kFrame), theme_(theme) {
  forms::CreateControls({{SetPageControl, "", 0, 0, 593, 377}});
  AddPage<ImagePage>();
  AddPage<MusicPage>();
  AddPage<EffectsPage>();
  AddPage<EtcPage>();
  AddPage<DisplayPage>();
  // Default and cancel buttons last in tab order, as the frame's own row.
  forms::CreateControls({
      {OKBtn, "O    K", 136, 382, 153, 29, forms::opDefault | forms::opGroup},
      {CanncelBtn, "キャンセル", 304, 382, 145, 29, forms::opCancel},
      {SetHelpBtn, "ヘ ル プ", 464, 382, 113, 29},
  });
  CanncelBtn.ModalResult = forms::mrCancel;
  SetHelpBtn.OnClick = [this] { SetHelpBtnClick(); };
  SetPageControl.OnChange = [this] {
    for (auto& page : pages_) page->Leave();
  };
  forms::Guarded([this] { FormCreate(); });
}

TSetDialog::~TSetDialog() = default;

void TSetDialog::FormCreate() {
  settings::IniFile ini;
  kept_ = settings::ReadTheme(ini, theme_, settings::Role::Dialog);
  for (auto& page : pages_) page->Show(kept_);
}

// Every page completes its choices first (the effects page puts blind back
// into an empty group), then the record is collected whole before a byte is
// written: a delay that is no integer stops the save with the file untouched.
void TSetDialog::OKBtnClick() {
  for (auto& page : pages_) page->Leave();
  settings::Theme theme = kept_;  // title and last numbers as read
  for (auto& page : pages_) page->Collect(theme);
  settings::IniFile ini;
  settings::WriteTheme(ini, theme_, theme);
  SetModalResult(forms::mrOk);
}

void TSetDialog::SetHelpBtnClick() {
  if (forms::TabSheet* page = SetPageControl.ActivePage()) forms::Application::Get().HelpContext(page->HelpContext);
}

void TSetDialog::FormClose(forms::CloseAction& action) {
  for (auto& page : pages_) page->Close();
  SettingsDialog::FormClose(action);
}
