// Controls of the form toolkit on a real (hidden) form under the system's
// window manager: input arrives as the messages a user's typing and clicking
// produce, and results are read back from the windows.
#include <gtest/gtest.h>
#include <windows.h>

#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/ComboBox.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/ListBox.h"
#include "forms/OpenDialog.h"
#include "forms/PageControl.h"
#include "forms/Panel.h"
#include "forms/RadioButton.h"
#include "forms/ScrollBox.h"
#include "forms/TrackBar.h"

namespace {

using namespace forms;

class TestForm : public Form {
 public:
  TestForm() : Form("TControlsTestForm", "ControlsTestForm") {
    Create();
    SetFont("ＭＳ Ｐゴシック", Dip(12));
    SetDesignClientSize({Dip(400), Dip(300)});
    CreateControls({
        {Pages, "", 0, 0, 400, 260},
        {Sheet0, "一", 0, 0, 0, 0, 0, &Pages},
        {Sheet1, "二", 0, 0, 0, 0, 0, &Pages},
        {Box, "", 8, 8, 200, 60, 0, &Sheet0},
        {InBox, "押す", 8, 8, 80, 25, 0, &Box},
        {RadioA, "A", 8, 80, 80, 17, opGroup | opChecked, &Sheet0},
        {RadioB, "B", 8, 100, 80, 17, 0, &Sheet0},
        {RadioC, "C", 8, 8, 80, 17, opChecked, &Sheet1},
        {Name, "", 8, 130, 193, 20, 0, &Sheet0},
        {List, "", 220, 8, 150, 100, opMultiSelect, &Sheet0},
        {Colours, "黒色", 220, 120, 100, 0, 0, &Sheet0},
        {Bar, "", 8, 160, 208, 35, 0, &Sheet0},
        {Scroller, "", 8, 30, 200, 150, 0, &Sheet1},
        {OKBtn, "OK", 8, 266, 80, 25, opDefault},
    });
    Name.SetMaxLength(30);
    Bar.SetRange(0, 8);
    Bar.SetPosition(4);
  }
  PageControl Pages{*this, "Pages"};
  TabSheet Sheet0{*this, "Sheet0"};
  TabSheet Sheet1{*this, "Sheet1"};
  Panel Box{*this, "Box"};
  Button InBox{*this, "InBox"};
  RadioButton RadioA{*this, "RadioA"};
  RadioButton RadioB{*this, "RadioB"};
  RadioButton RadioC{*this, "RadioC"};
  Edit Name{*this, "Name"};
  ListBox List{*this, "List"};
  ComboBox Colours{*this, "Colours"};
  TrackBar Bar{*this, "Bar"};
  ScrollBox Scroller{*this, "Scroller"};
  Button OKBtn{*this, "OKBtn"};
};

class Controls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Application::Get().Initialize(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    form_ = new TestForm;
    form_->Show();
  }
  void TearDown() override { delete form_; }
  // Posts what a keyboard or IME delivers, then runs the program's loop.
  void Post(HWND h, UINT msg, WPARAM wp, LPARAM lp = 1) {
    PostMessageA(h, msg, wp, lp);
    Application::Get().ProcessMessages();
  }
  void TypeChar(HWND h, WCHAR ch) {
    PostMessageW(h, WM_CHAR, ch, 1);
    Application::Get().ProcessMessages();
  }
  TestForm* form_ = nullptr;
};

TEST_F(Controls, EditLimitCountsShiftJisBytes) {
  HWND e = form_->Name.Handle();
  form_->Name.SetFocus();
  const wchar_t* kana = L"あいうえおかきくけこさしすせそ";
  for (const wchar_t* p = kana; *p; ++p) TypeChar(e, *p);
  EXPECT_EQ(form_->Name.Text().size(), 30u);
  TypeChar(e, L'た');  // a 16th full-width character is refused
  TypeChar(e, L'A');   // and so is a single byte
  EXPECT_EQ(form_->Name.Text(), "あいうえおかきくけこさしすせそ");
  // An IME commit (WM_IME_CHAR, both bytes in one message) is held to the limit too.
  Post(e, WM_IME_CHAR, 0x82BD);
  EXPECT_EQ(form_->Name.Text().size(), 30u);
  // Replacing a selection counts what the text becomes, not what is typed.
  SendMessageA(e, EM_SETSEL, 0, 1);
  TypeChar(e, L'x');
  TypeChar(e, L'y');
  TypeChar(e, L'z');
  EXPECT_EQ(form_->Name.Text(), "xyいうえおかきくけこさしすせそ");
  // Pasted text that would pass the limit is refused whole.
  SendMessageA(e, EM_SETSEL, 0, -1);
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("あいうえおかきくけこさしすせそた"));
  EXPECT_EQ(form_->Name.Text(), "xyいうえおかきくけこさしすせそ");
  SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("あいうえおかきくけこさしすせそ"));
  EXPECT_EQ(form_->Name.Text(), "あいうえおかきくけこさしすせそ");
}

TEST_F(Controls, EditDoubleClickAndChangeEvents) {
  int clicks = 0, changes = 0;
  form_->Name.OnDoubleClick = [&] { ++clicks; };
  form_->Name.OnChange = [&] { ++changes; };
  SendMessageA(form_->Name.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  form_->Name.SetFocus();
  TypeChar(form_->Name.Handle(), L'a');
  EXPECT_EQ(changes, 1);
}

TEST_F(Controls, RadioButtonsExcludeEachOtherPerParentAndReportDoubleClicks) {
  EXPECT_TRUE(form_->RadioA.Checked());
  EXPECT_TRUE(form_->RadioC.Checked());  // another sheet, another group
  int clicks = 0, doubles = 0;
  form_->RadioB.OnClick = [&] { ++clicks; };
  form_->RadioB.OnDoubleClick = [&] { ++doubles; };
  HWND b = form_->RadioB.Handle();
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(form_->RadioB.Checked());
  EXPECT_FALSE(form_->RadioA.Checked());
  EXPECT_TRUE(form_->RadioC.Checked());
  SendMessageA(b, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);
  form_->RadioA.SetChecked(true);
  EXPECT_FALSE(form_->RadioB.Checked());
}

TEST_F(Controls, ButtonInPanelOnSheetFiresItsClick) {
  int clicks = 0;
  form_->InBox.OnClick = [&] { ++clicks; };
  SendMessageA(form_->InBox.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, DefaultButtonIsNotPressedByTakingTheFocus) {
  int clicks = 0;
  form_->OKBtn.OnClick = [&] { ++clicks; };
  form_->OKBtn.SetFocus();
  Application::Get().ProcessMessages();
  EXPECT_EQ(clicks, 0);
  form_->Name.SetFocus();
  Post(form_->Name.Handle(), WM_KEYDOWN, VK_RETURN);  // Enter in an edit presses it
  EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, ListBoxItemsSelectionAndCurrentItem) {
  ListBox& l = form_->List;
  EXPECT_EQ(l.ItemIndex(), -1);  // empty
  for (const char* s : {"a", "b", "c", "d"}) l.Add(s);
  l.Insert(1, "new");
  EXPECT_EQ(l.Count(), 5);
  EXPECT_EQ(l.Item(1), "new");
  EXPECT_EQ(l.Item(2), "b");
  l.Insert(99, "end");
  EXPECT_EQ(l.Item(5), "end");
  l.SetSelected(1, true);
  l.SetSelected(3, true);
  EXPECT_EQ(l.SelCount(), 2);
  EXPECT_TRUE(l.Selected(3) && !l.Selected(2));
  l.SetItemIndex(3);
  EXPECT_EQ(l.ItemIndex(), 3);
  l.Move(3, 2);
  EXPECT_EQ(l.Item(2), "c");
  EXPECT_EQ(l.Item(3), "b");
  l.Delete(0);
  EXPECT_EQ(l.Item(0), "new");
  int clicks = 0, doubles = 0;
  l.OnClick = [&] { ++clicks; };
  l.OnDoubleClick = [&] { ++doubles; };
  HWND h = l.Handle();
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(l.SelCount(), 1);  // a plain click selects one
  EXPECT_EQ(l.ItemIndex(), 0);
  SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 3));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
  EXPECT_EQ(doubles, 1);
  l.Clear();
  EXPECT_EQ(l.ItemIndex(), -1);
}

TEST_F(Controls, ComboBoxHasNoSelectionAfterFreeText) {
  ComboBox& c = form_->Colours;
  for (const char* s : {"黒色", "赤色", "青色"}) c.Add(s);
  EXPECT_EQ(c.Text(), "黒色");
  c.SetItemIndex(1);
  EXPECT_EQ(c.ItemIndex(), 1);
  EXPECT_EQ(c.Text(), "赤色");
  HWND edit = GetWindow(c.Handle(), GW_CHILD);
  ASSERT_TRUE(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  ::SetFocus(edit);
  TypeChar(edit, L'赤');  // a prefix of an item is still free text
  EXPECT_EQ(c.Text(), "赤");
  EXPECT_EQ(c.ItemIndex(), -1);
  TypeChar(edit, L'色');  // exactly an item again
  EXPECT_EQ(c.ItemIndex(), 1);
  c.SetItemIndex(-1);
  EXPECT_EQ(c.ItemIndex(), -1);
}

TEST_F(Controls, TrackBarRangeStepsAndChangeEvent) {
  TrackBar& t = form_->Bar;
  int changes = 0;
  t.OnChange = [&] { ++changes; };
  t.SetLineSize(1);
  t.SetPageSize(1);
  EXPECT_EQ(t.Min(), 0);
  EXPECT_EQ(t.Max(), 8);
  EXPECT_EQ(t.Position(), 4);
  t.SetFocus();
  Post(t.Handle(), WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(t.Position(), 5);
  Post(t.Handle(), WM_KEYDOWN, VK_END);
  EXPECT_EQ(t.Position(), 8);
  Post(t.Handle(), WM_KEYDOWN, VK_END);  // no movement, no event
  EXPECT_EQ(changes, 2);
  t.SetPosition(20);
  EXPECT_EQ(t.Position(), 8);  // clamped to the range
  EXPECT_EQ(changes, 2);       // code does not fire the event
}

TEST_F(Controls, PageControlShowsOnlyTheActiveSheetAndReportsUserChanges) {
  PageControl& p = form_->Pages;
  EXPECT_EQ(p.PageCount(), 2);
  EXPECT_EQ(p.ActivePageIndex(), 0);
  EXPECT_TRUE(form_->Sheet0.Visible());
  EXPECT_FALSE(form_->Sheet1.Visible());
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.SetActivePageIndex(1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(p.ActivePage(), &form_->Sheet1);
  EXPECT_TRUE(form_->Sheet1.Visible());
  EXPECT_FALSE(form_->Sheet0.Visible());
  // A click on the first tab, as the user would.
  RECT tab;
  SendMessageA(p.Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageA(p.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(p.Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(p.ActivePageIndex(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(form_->Sheet0.Visible());
  // Sheets fill the tab control's page area.
  RECT page, sheet;
  GetClientRect(p.Handle(), &page);
  SendMessageA(p.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  sheet = form_->Sheet0.BoundsRect();
  EXPECT_EQ(sheet.left, page.left);
  EXPECT_EQ(sheet.top, page.top);
  EXPECT_EQ(sheet.right, page.right);
}

TEST_F(Controls, ScrollBoxScrollsItsChild) {
  ScrollBox& s = form_->Scroller;
  Panel inner(*form_, "Inner");
  inner.Create({inner, "", 0, 0, 600, 500, 0, &s});
  s.UpdateScrollRange();
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(s.Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 499);
  SendMessageA(s.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(inner.BoundsRect().top, -16);
  SendMessageA(s.Handle(), WM_HSCROLL, SB_BOTTOM, 0);
  RECT client;
  GetClientRect(s.Handle(), &client);
  EXPECT_EQ(inner.BoundsRect().right, client.right);  // scrolled to the far end, no further
  s.ScrollTo(0, 0);
  EXPECT_EQ(inner.BoundsRect().left, 0);
  EXPECT_EQ(inner.BoundsRect().top, 0);
}

// The system moves the form to a monitor of twice the scale: it goes to the
// rectangle the system suggests, and a control the program moved while the
// form was shown keeps the place it was moved to, scaled, like the others.
TEST_F(Controls, AControlMovedAtRunTimeKeepsItsPlaceThroughAChangeOfScale) {
  form_->OKBtn.SetBounds(150, 262, 100, 30);
  const RECT before = form_->BoundsRect();
  RECT suggested = {before.left + 40, before.top + 30, before.left + 40 + 2 * (before.right - before.left),
                    before.top + 30 + 2 * (before.bottom - before.top)};
  SendMessageA(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(form_->Dpi(), 192);

  const RECT ok = form_->OKBtn.BoundsRect();
  EXPECT_EQ(ok.left, 300);
  EXPECT_EQ(ok.top, 524);
  EXPECT_EQ(ok.right - ok.left, 200);
  EXPECT_EQ(ok.bottom - ok.top, 60);
  const RECT inBox = form_->InBox.BoundsRect();  // from the table, inside its panel
  EXPECT_EQ(inBox.left, 16);
  EXPECT_EQ(inBox.right - inBox.left, 160);

  const RECT window = form_->BoundsRect();
  EXPECT_EQ(window.left, suggested.left);
  EXPECT_EQ(window.top, suggested.top);
  EXPECT_EQ(form_->ClientWidth(), 800);
  EXPECT_EQ(form_->ClientHeight(), 600);

  // Back at 96 DPI the moved button is where the program put it.
  SendMessageA(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&before));
  const RECT back = form_->OKBtn.BoundsRect();
  EXPECT_EQ(back.left, 150);
  EXPECT_EQ(back.top, 262);
  EXPECT_EQ(back.right - back.left, 100);
  EXPECT_EQ(form_->BoundsRect().left, before.left);
}

TEST(OpenDialogResult, SingleAndMultipleFilesBecomeFullPathsInOrder) {
  EXPECT_EQ(SplitOpenFileResult("C:\\pics\\a.bmp\0", false),
            (std::vector<std::string>{"C:\\pics\\a.bmp"}));
  EXPECT_EQ(SplitOpenFileResult("C:\\pics\\a.bmp\0\0", true),
            (std::vector<std::string>{"C:\\pics\\a.bmp"}));
  EXPECT_EQ(SplitOpenFileResult("C:\\pics\0c.jpg\0a.bmp\0b.gif\0\0", true),
            (std::vector<std::string>{"C:\\pics\\c.jpg", "C:\\pics\\a.bmp", "C:\\pics\\b.gif"}));
  EXPECT_EQ(SplitOpenFileResult("C:\\\0a.bmp\0b.bmp\0\0", true),
            (std::vector<std::string>{"C:\\a.bmp", "C:\\b.bmp"}));
  EXPECT_TRUE(SplitOpenFileResult("\0", true).empty());
}

}  // namespace
