#include "dialogs/NameDlg.h"

#include "dialogs/MainDlg.h"
#include "forms/Application.h"
#include "settings/Keys.h"

namespace {
// 15 full-width characters of the double-byte code page, as the label says.
const int kNameBytes = 30;
}

TThemeNameDlg::TThemeNameDlg(TMainDialog& mainDialog, int theme)
    : Form("TThemeNameDlg", "ThemeNameDlg"), mainDialog_(mainDialog), theme_(theme) {
  Create();
  SetCaption("Glimoraの設定：名称の変更");
  SetFont("ＭＳ Ｐゴシック", 12);
  SetDesignClientSize(225, 90);
  CenterOnScreen();
  HelpContext = 2;

  forms::CreateControls({
      {Label1, "新しい名称（全角15文字まで）", 16, 8, 0, 0},
      {ThemeNameEdit, "", 16, 24, 193, 20},
      {OKBtn, "Ｏ   Ｋ", 16, 56, 89, 25, forms::opDefault},
      {CancelBtn, "キャンセル", 120, 56, 91, 25, forms::opCancel},
  });
  ThemeNameEdit.SetMaxLength(kNameBytes);
  OKBtn.OnClick = [this] { OKBtnClick(); };
  CancelBtn.OnClick = [this] { CancelBtnClick(); };

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

void TThemeNameDlg::CancelBtnClick() { SetModalResult(forms::mrCancel); }

void TThemeNameDlg::FormClose(forms::CloseAction& action) { action = forms::CloseAction::Free; }
