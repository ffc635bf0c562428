#include "dialogs/MainDlg.h"

TMainDialog::TMainDialog() : Form("TMainDialog", "MainDialog") {
  Create();
  SetCaption("Glimoraの設定");
  SetFont("ＭＳ Ｐゴシック", 12);
  SetClientSize(465, 233);
  CenterOnScreen();
  HelpContext = 1;
}
