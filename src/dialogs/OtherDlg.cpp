#include "dialogs/OtherDlg.h"

#include "app/HelpTopics.h"
#include "forms/Application.h"
#include "settings/Keys.h"
#include "settings/IniFile.h"

using namespace settings;

namespace {
const DialogFrame kFrame = {"TOtherSetDlg", "OtherSetDlg", "Glimoraの設定：その他の設定",
                            "ＭＳ Ｐゴシック", forms::Dip(12), {forms::Dip(273), forms::Dip(105)}, app::kHelpNames};
}  // namespace

TOtherSetDlg::TOtherSetDlg() : SettingsDialog(kFrame) {
  forms::CreateControls({
      {Label1, "スクリーンセーバー終了時のマウス移動検出量", 16, 12, 0, 0},
      {Label2, "小", 16, 40, 0, 0},
      {MouseMoveBar, "", 32, 32, 208, 35},
      {Label3, "大", 244, 40, 0, 0},
      {OKBtn, "Ｏ   Ｋ", 24, 72, 105, 25, forms::opDefault},
      {CanselBtn, "キャンセル", 144, 72, 105, 25, forms::opCancel},
  });
  // 0 ("小", the least movement) to 8 ("大"), a tick at every value.
  MouseMoveBar.SetRange(0, 8);
  MouseMoveBar.SetLineSize(1);
  MouseMoveBar.SetPageSize(1);
  MouseMoveBar.SetFrequency(1);
  MouseMoveBar.SetPosition(settings::key::CloseMouseMove.dialog);
  CanselBtn.ModalResult = forms::mrCancel;

  forms::Guarded([this] { FormCreate(); });
}

void TOtherSetDlg::FormCreate() {
  IniFile ini;
  MouseMoveBar.SetPosition(ini.Read(kMainSection, key::CloseMouseMove, Role::Dialog));
}

void TOtherSetDlg::OKBtnClick() {
  IniFile ini;
  IniText text = ini.Load();
  text.SetValue(kMainSection, key::CloseMouseMove.name, std::to_string(MouseMoveBar.Position()));
  ini.Save(text);
  SetModalResult(forms::mrOk);
}
