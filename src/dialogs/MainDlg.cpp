#include "dialogs/MainDlg.h"

#include "dialogs/Dialog.h"
#include "dialogs/NameDlg.h"
#include "dialogs/OtherDlg.h"
#include "forms/Application.h"
#include "saver/MainForm.h"
#include "settings/IniFile.h"

using forms::ControlRow;
using namespace settings;

namespace {
const char kUnnamed[] = "名称未設定";
}

int TMainDialog::SelectedTheme = 0;

TMainDialog::TMainDialog() : Form("TMainDialog", "MainDialog") {
  Create();
  SetCaption("Glimoraの設定");
  SetFont("ＭＳ Ｐゴシック", 12);
  SetClientSize(465, 233);
  CenterOnScreen();
  HelpContext = 1;

  // Tab order: the group box, then the seven buttons in the order listed here.
  forms::Control* box = &ThemeGroupBox;
  forms::CreateControls({
      {ThemeGroupBox, "登録グループの選択", 8, 8, 449, 153},
      {ThemeRBtn0, kUnnamed, 16, 24, 212, 17, forms::opGroup, box},
      {ThemeRBtn1, kUnnamed, 16, 48, 212, 17, 0, box},
      {ThemeRBtn2, kUnnamed, 16, 72, 212, 17, 0, box},
      {ThemeRBtn3, kUnnamed, 16, 96, 212, 17, 0, box},
      {ThemeRBtn4, kUnnamed, 16, 120, 212, 17, 0, box},
      {ThemeRBtn5, kUnnamed, 232, 24, 212, 17, 0, box},
      {ThemeRBtn6, kUnnamed, 232, 48, 212, 17, 0, box},
      {ThemeRBtn7, kUnnamed, 232, 72, 212, 17, 0, box},
      {ThemeRBtn8, kUnnamed, 232, 96, 212, 17, 0, box},
      {ThemeRBtn9, kUnnamed, 232, 120, 212, 17, 0, box},
      {SetDlgBtn, "画像／音声／ＢＧＭ等の設定", 8, 168, 185, 25, forms::opGroup},
      {NameDlgBtn, "名称の変更", 200, 168, 89, 25},
      {ClearBtn, "設定の消去", 296, 168, 89, 25},
      {OtherSetBtn, "その他", 392, 168, 65, 25},
      {OKBtn, "Ｏ   Ｋ", 280, 200, 177, 25, forms::opDefault},
      {MainHelpBtn, "ヘ ル プ", 120, 200, 89, 25},
      {Button1, "テスト実行", 8, 200, 105, 25},
  });

  for (forms::RadioButton* radio : ThemeRBtn) radio->OnDoubleClick = [this] { SetDlgBtnClick(); };
  SetDlgBtn.OnClick = [this] { SetDlgBtnClick(); };
  NameDlgBtn.OnClick = [this] { NameDlgBtnClick(); };
  ClearBtn.OnClick = [this] { ClearBtnClick(); };
  OtherSetBtn.OnClick = [this] { OtherSetBtnClick(); };
  OKBtn.OnClick = [this] { OKBtnClick(); };
  MainHelpBtn.OnClick = [this] { MainHelpBtnClick(); };
  Button1.OnClick = [this] { Button1Click(); };

  forms::Guarded([this] { FormCreate(); });
}

std::string TMainDialog::ThemeCaption(int n) const {
  return n >= 0 && n < kThemeCount ? ThemeRBtn[n]->Text() : std::string();
}

void TMainDialog::SetThemeCaption(int n, const std::string& caption) {
  if (n >= 0 && n < kThemeCount) ThemeRBtn[n]->SetText(caption);
}

void TMainDialog::FormCreate() {
  IniFile ini;
  SelectedTheme = ini.Read(kMainSection, key::ThemeNumber, Role::Dialog);
  for (int n = 0; n < kThemeCount; ++n) {
    ThemeRBtn[n]->SetText(ini.ReadString(kMainSection, Numbered(key::ThemeName.name, n),
                                         key::ThemeName.Default(Role::Dialog)));
  }
  // A stored number outside 0 to 9 leaves every button unchecked.
  if (SelectedTheme >= 0 && SelectedTheme < kThemeCount) ThemeRBtn[SelectedTheme]->SetChecked(true);
}

void TMainDialog::ThemeNumberCheck() {
  for (int n = 0; n < kThemeCount; ++n) {
    if (ThemeRBtn[n]->Checked()) {
      SelectedTheme = n;
      return;
    }
  }
}

void TMainDialog::OKBtnClick() {
  ThemeNumberCheck();
  IniFile ini;
  ini.WriteInteger(kMainSection, key::ThemeNumber.name, SelectedTheme);
  for (int n = 0; n < kThemeCount; ++n)
    ini.WriteString(kMainSection, Numbered(key::ThemeName.name, n), ThemeRBtn[n]->Text());
  Close();
}

void TMainDialog::SetDlgBtnClick() {
  ThemeNumberCheck();
  TSetDialog dialog;
  dialog.SetCaption("Glimoraの設定：" + ThemeCaption(SelectedTheme));
  dialog.ShowModal();
}

void TMainDialog::NameDlgBtnClick() {
  ThemeNumberCheck();
  TThemeNameDlg dialog(*this);
  dialog.ShowModal();
}

void TMainDialog::OtherSetBtnClick() {
  TOtherSetDlg dialog;
  dialog.ShowModal();
}

void TMainDialog::ClearBtnClick() {
  ThemeNumberCheck();
  const std::string name = ThemeCaption(SelectedTheme);
  const std::string& title = forms::Application::Get().Title();
  MessageBeep(MB_ICONQUESTION);
  std::string question = "『" + name + "』の設定を全て消去します。よろしいですか？";
  if (MessageBoxA(Handle(), question.c_str(), title.c_str(), MB_YESNOCANCEL | MB_DEFBUTTON2) != IDYES)
    return;
  // The section goes first: should erasing fail, the name still tells the
  // truth about what is stored.
  IniFile ini;
  ini.EraseSection(ThemeSection(SelectedTheme));
  SetThemeCaption(SelectedTheme, kUnnamed);
  MessageBeep(MB_ICONASTERISK);
  std::string report = "『" + name + "』の設定は消去されました";
  MessageBoxA(Handle(), report.c_str(), title.c_str(), MB_OK);
}

void TMainDialog::Button1Click() {
  ThemeNumberCheck();
  IniFile ini;
  ini.WriteInteger(kMainSection, key::ThemeNumber.name, SelectedTheme);
  TMainForm saver;
  saver.ShowModal();
}

void TMainDialog::MainHelpBtnClick() { forms::Application::Get().HelpContext(1); }

void TMainDialog::FormClose(forms::CloseAction& action) { action = forms::CloseAction::Free; }
