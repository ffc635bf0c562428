#include "dialogs/MainDlg.h"

#include "app/HelpTopics.h"
#include "dialogs/Dialog.h"
#include "dialogs/NameDlg.h"
#include "dialogs/OtherDlg.h"
#include "forms/Application.h"
#include "saver/ShowController.h"
#include "settings/IniFile.h"

using forms::ControlRow;
using namespace settings;

namespace {
const char* const kUnnamed = key::ThemeName.dialog;
const DialogFrame kFrame = {"TMainDialog", "MainDialog", "Glimoraの設定", "ＭＳ Ｐゴシック",
                            forms::Dip(12), {forms::Dip(465), forms::Dip(233)}, app::kHelpThemes};
}  // namespace

TMainDialog::TMainDialog() : SettingsDialog(kFrame) {
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
  const Section main = IniFile().ReadSection(kMainSection);
  selectedTheme_ = main.Read(key::ThemeNumber, Role::Dialog);
  for (int n = 0; n < kThemeCount; ++n)
    ThemeRBtn[n]->SetText(main.String(Numbered(key::ThemeName.name, n), key::ThemeName.Default(Role::Dialog)));
  // A stored number outside 0 to 9 leaves every button unchecked.
  if (selectedTheme_ >= 0 && selectedTheme_ < kThemeCount) ThemeRBtn[selectedTheme_]->SetChecked(true);
}

void TMainDialog::ThemeNumberCheck() {
  for (int n = 0; n < kThemeCount; ++n) {
    if (ThemeRBtn[n]->Checked()) {
      selectedTheme_ = n;
      return;
    }
  }
}

void TMainDialog::WriteMain(bool withNames) {
  IniFile ini;
  IniText text = ini.Load();
  text.SetValue(kMainSection, key::ThemeNumber.name, std::to_string(selectedTheme_));
  for (int n = 0; withNames && n < kThemeCount; ++n)
    text.SetValue(kMainSection, Numbered(key::ThemeName.name, n), ThemeRBtn[n]->Text());
  ini.Save(text);
}

void TMainDialog::OKBtnClick() {
  ThemeNumberCheck();
  WriteMain(true);
  Close();
}

void TMainDialog::SetDlgBtnClick() {
  ThemeNumberCheck();
  TSetDialog dialog(selectedTheme_);
  dialog.SetCaption("Glimoraの設定：" + ThemeCaption(selectedTheme_));
  dialog.ShowModal();
}

void TMainDialog::NameDlgBtnClick() {
  ThemeNumberCheck();
  TThemeNameDlg dialog(*this, selectedTheme_);
  dialog.ShowModal();
}

void TMainDialog::OtherSetBtnClick() {
  TOtherSetDlg dialog;
  dialog.ShowModal();
}

void TMainDialog::ClearBtnClick() {
  ThemeNumberCheck();
  const std::string name = ThemeCaption(selectedTheme_);
  const std::string& title = forms::Application::Get().Title();
  MessageBeep(MB_ICONQUESTION);
  std::string question = "『" + name + "』の設定を全て消去します。よろしいですか？";
  if (MessageBoxA(Handle(), question.c_str(), title.c_str(), MB_YESNOCANCEL | MB_DEFBUTTON2) != IDYES)
    return;
  // The section goes first: should erasing fail, the name still tells the
  // truth about what is stored.
  IniFile ini;
  ini.EraseSection(ThemeSection(selectedTheme_));
  SetThemeCaption(selectedTheme_, kUnnamed);
  MessageBeep(MB_ICONASTERISK);
  std::string report = "『" + name + "』の設定は消去されました";
  MessageBoxA(Handle(), report.c_str(), title.c_str(), MB_OK);
}

void TMainDialog::Button1Click() {
  ThemeNumberCheck();
  WriteMain(false);
  saver::ShowController show;
  show.Window().ShowModal();
}

void TMainDialog::MainHelpBtnClick() { forms::Application::Get().HelpContext(app::kHelpThemes); }
