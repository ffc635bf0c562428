#include "dialogs/NameDlg.h"

#include "app/HelpTopics.h"
#include "dialogs/MainDlg.h"
#include "forms/Application.h"
#include "settings/Keys.h"

namespace {
// 15 full-width characters of the double-byte code page, as the label says.
const int kNameBytes = 30;
const DialogFrame kFrame = {"TThemeNameDlg", "ThemeNameDlg", "Glimoraの設定：名称の変更",
                            "ＭＳ Ｐゴシック", forms::Dip(12), {forms::Dip(225), forms::Dip(90)}, app::kHelpNames};
}  // namespace

TThemeNameDlg::TThemeNameDlg(TMainDialog& mainDialog, int theme)
    : SettingsDialog(kFrame), mainDialog_(mainDialog), theme_(theme) {
  forms::CreateControls({
      {Label1, "新しい名称（全角15文字まで）", 16, 8, 0, 0},
      {ThemeNameEdit, "", 16, 24, 193, 20},
      {OKBtn, "Ｏ   Ｋ", 16, 56, 89, 25, forms::opDefault},
      {CancelBtn, "キャンセル", 120, 56, 91, 25, forms::opCancel},
  });
  ThemeNameEdit.SetMaxLength(kNameBytes);
  CancelBtn.ModalResult = forms::mrCancel;

  forms::Guarded([this] { FormCreate(); });
}

void TThemeNameDlg::FormCreate() {
  // Empty for a theme number outside 0 to 9.
  ThemeNameEdit.SetText(mainDialog_.ThemeCaption(theme_));
  ThemeNameEdit.SelectAll();
}

void TThemeNameDlg::OKBtnClick() {
  // An empty name is never kept; blanks are a name and stay as typed.
  if (ThemeNameEdit.Text().empty()) ThemeNameEdit.SetText(settings::key::ThemeName.dialog);
  mainDialog_.SetThemeCaption(theme_, ThemeNameEdit.Text());
  SetModalResult(forms::mrOk);
}
