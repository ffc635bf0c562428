// The settings dialogs at 96, 144 and 192 DPI: what a move to a monitor of
// another scale (WM_DPICHANGED) does to every dialog, read back from the
// windows. Sizes, places and font heights scale from the 96-DPI tables, and
// no caption is cut off by its control or any control by its container.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/Dialog.h"
#include "dialogs/MainDlg.h"
#include "dialogs/NameDlg.h"
#include "dialogs/OtherDlg.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Dpi.h"

namespace {

struct Place {
  HWND hwnd;
  std::string cls;
  RECT rect;  // in the parent's client coordinates
};

std::string ClassOf(HWND h) {
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  return cls;
}

std::string TextOf(HWND h) {
  char text[512] = {};
  GetWindowTextA(h, text, sizeof text);
  return text;
}

RECT InParent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The form's own controls (not the parts a combo box makes for itself).
BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  if (forms::Control::FromHandle(h))
    reinterpret_cast<std::vector<Place>*>(lp)->push_back({h, ClassOf(h), InParent(h)});
  return TRUE;
}

std::vector<Place> Places(const forms::Form& form) {
  std::vector<Place> all;
  EnumChildWindows(form.Handle(), Collect, reinterpret_cast<LPARAM>(&all));
  return all;
}

// A length of the 96-DPI tables (or read at 96 DPI) at another DPI.
int At(long designUnits, int dpi) { return forms::Scaled(forms::Dip(static_cast<int>(designUnits)), dpi); }

SIZE Client(const forms::Form& form) { return {form.ClientWidth(), form.ClientHeight()}; }

int FontHeight(HFONT font) {
  LOGFONTA lf = {};
  GetObjectA(font, sizeof lf, &lf);
  return lf.lfHeight;
}

// The system's move to another monitor, as Windows sends it.
void MoveToDpi(forms::Form& form, int dpi) {
  RECT suggested = form.BoundsRect();
  SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Our containers paint their captions in the form's font; system controls say theirs.
SIZE TextExtent(HWND h, const std::string& text, HFONT formFont) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0));
  HDC dc = GetDC(h);
  HGDIOBJ old = SelectObject(dc, font ? font : formFont);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(h, dc);
  return size;
}

// Room a check box or radio button needs beside its caption for the mark.
int MarkRoom(int dpi) { return At(18, dpi); }

void ExpectCaptionsFit(const forms::Form& form, int dpi) {
  for (const Place& p : Places(form)) {
    const std::string text = TextOf(p.hwnd);
    if (text.empty() || p.cls == "TTabSheet" || p.cls == "Edit" || p.cls == "ComboBox") continue;
    const SIZE need = TextExtent(p.hwnd, text, form.Font());
    const int width = p.rect.right - p.rect.left, height = p.rect.bottom - p.rect.top;
    const LONG style = GetWindowLongA(p.hwnd, GWL_STYLE);
    int room = 0;
    if (p.cls == "Button") {
      const LONG kind = style & BS_TYPEMASK;
      room = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON ? At(4, dpi) : MarkRoom(dpi);
    } else if (p.cls == "TGroupBox") {
      room = At(16, dpi);
    }
    EXPECT_LE(need.cx + room, width) << form.Name() << " at " << dpi << " DPI: \"" << text << "\" is cut off";
    EXPECT_LE(need.cy, height) << form.Name() << " at " << dpi << " DPI: \"" << text << "\" is too low";
  }
}

void ExpectInsideContainers(const forms::Form& form, int dpi) {
  for (const Place& p : Places(form)) {
    RECT client;
    GetClientRect(GetParent(p.hwnd), &client);
    // A combo box's window includes its list, which drops below anything.
    RECT r = p.rect;
    if (p.cls == "ComboBox") r.bottom = r.top + 1;
    RECT both;
    UnionRect(&both, &client, &r);
    EXPECT_TRUE(EqualRect(&both, &client) != FALSE)
        << form.Name() << " at " << dpi << " DPI: \"" << TextOf(p.hwnd) << "\" (" << p.cls << ") at "
        << r.left << "," << r.top << "," << r.right << "," << r.bottom << " sticks out of its container "
        << client.right << " x " << client.bottom;
  }
}

// Every control where its 96-DPI place puts it at this DPI. Labels size
// themselves to their captions and combo boxes to their font, so only their
// corner and (combo) width are the table's.
void ExpectScaledFrom(const std::vector<Place>& at96, const forms::Form& form, int dpi) {
  const std::vector<Place> now = Places(form);
  ASSERT_EQ(now.size(), at96.size());
  for (size_t i = 0; i < now.size(); ++i) {
    const RECT& d = at96[i].rect;
    const RECT& r = now[i].rect;
    const std::string what = form.Name() + " \"" + TextOf(now[i].hwnd) + "\" (" + now[i].cls + ")";
    if (now[i].cls == "TTabSheet") continue;  // fills the page control below its tabs
    EXPECT_EQ(r.left, At(d.left, dpi)) << what;
    EXPECT_EQ(r.top, At(d.top, dpi)) << what;
    if (now[i].cls == "Static") continue;
    EXPECT_EQ(r.right - r.left, At(d.right - d.left, dpi)) << what;
    if (now[i].cls == "ComboBox") continue;
    EXPECT_EQ(r.bottom - r.top, At(d.bottom - d.top, dpi)) << what;
  }
}

class DialogScale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { forms::Application::Get().Initialize(GetModuleHandleA(nullptr)); }

  // Creates the dialog at the system's DPI (96 here), then moves it to 144,
  // 192 and back, checking each time.
  void CheckEveryScale(forms::Form& form, SIZE design, int fontDesign) {
    ASSERT_EQ(form.Dpi(), 96) << "the test prefix runs at 96 DPI";
    EXPECT_EQ(Client(form).cx, design.cx);
    EXPECT_EQ(Client(form).cy, design.cy);
    const std::vector<Place> at96 = Places(form);
    ExpectCaptionsFit(form, 96);
    ExpectInsideContainers(form, 96);
    for (int dpi : {144, 192, 96}) {
      MoveToDpi(form, dpi);
      EXPECT_EQ(form.Dpi(), dpi);
      EXPECT_EQ(Client(form).cx, At(design.cx, dpi)) << form.Name() << " at " << dpi;
      EXPECT_EQ(Client(form).cy, At(design.cy, dpi)) << form.Name() << " at " << dpi;
      EXPECT_EQ(FontHeight(form.Font()), -At(fontDesign, dpi)) << form.Name() << " at " << dpi;
      ExpectScaledFrom(at96, form, dpi);
      ExpectCaptionsFit(form, dpi);
      ExpectInsideContainers(form, dpi);
    }
  }
};

TEST_F(DialogScale, TheThemeSelectionDialogIs698By350At144Dpi) {
  TMainDialog dialog;
  MoveToDpi(dialog, 144);
  EXPECT_EQ(Client(dialog).cx, 698);
  EXPECT_EQ(Client(dialog).cy, 350);
  // "Ｏ   Ｋ" at (280, 200, 177 x 25) in the table.
  const RECT ok = InParent(dialog.OKBtn.Handle());
  EXPECT_EQ(ok.left, 420);
  EXPECT_EQ(ok.top, 300);
  EXPECT_EQ(ok.right - ok.left, 266);
  EXPECT_EQ(ok.bottom - ok.top, 38);
  EXPECT_EQ(FontHeight(dialog.Font()), -18);
  // A radio button inside the group box keeps its place in the box.
  const RECT radio = InParent(dialog.ThemeRBtn5.Handle());
  EXPECT_EQ(radio.left, 348);
  EXPECT_EQ(radio.top, 36);
}

TEST_F(DialogScale, TheThemeSelectionDialogAtEveryScale) {
  TMainDialog dialog;
  CheckEveryScale(dialog, {465, 233}, 12);
}

TEST_F(DialogScale, TheThemeSettingsDialogAtEveryScale) {
  TSetDialog dialog(0);
  CheckEveryScale(dialog, {593, 414}, 13);
  // Each page fills the page control below its tabs.
  MoveToDpi(dialog, 192);
  const RECT pages = InParent(dialog.SetPageControl.Handle());
  for (int i = 0; i < dialog.SetPageControl.PageCount(); ++i) {
    const RECT sheet = InParent(dialog.SetPageControl.Page(i).Handle());
    EXPECT_GE(sheet.right - sheet.left, pages.right - pages.left - At(8, 192));
    EXPECT_GE(sheet.bottom - sheet.top, pages.bottom - pages.top - At(40, 192));
  }
}

TEST_F(DialogScale, TheRenameAndOtherSettingsDialogsAtEveryScale) {
  TMainDialog main;
  TThemeNameDlg rename(main, 0);
  CheckEveryScale(rename, {225, 90}, 12);
  TOtherSetDlg other;
  CheckEveryScale(other, {273, 105}, 12);
}

TEST_F(DialogScale, AFormThatSizesItselfKeepsItsPixels) {
  // The image test display is as large as its picture: no table to follow.
  TOtherSetDlg other;
  MoveToDpi(other, 144);
  const SIZE scaled = Client(other);
  class Plain : public forms::Form {
   public:
    Plain() : Form("TPlainScaleForm", "PlainScaleForm") {
      Create();
      SetClientSize(300, 200);
    }
  } plain;
  MoveToDpi(plain, 144);
  EXPECT_EQ(Client(plain).cx, 300);
  EXPECT_EQ(Client(plain).cy, 200);
  EXPECT_EQ(scaled.cx, 410);
}

}  // namespace
