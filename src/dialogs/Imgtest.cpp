#include "dialogs/Imgtest.h"

#include "app/HelpTopics.h"
#include "dialogs/ImagePlacement.h"
#include "forms/Application.h"
#include "forms/Gdi.h"
#include "forms/WidePath.h"
#include "forms/WideText.h"

namespace {
// Design values: where and how large the window is before an image is shown.
const int kDesignLeft = 270, kDesignTop = 105;
const int kDesignBoxWidth = 193, kDesignBoxHeight = 65;
const int kDesignImageWidth = 177, kDesignImageHeight = 41;
}  // namespace

void TPictureView::Paint(HDC dc, const RECT& /*client*/) { picture_.Paint(dc, 0, 0); }

TImageTestForm::TImageTestForm(const std::string& fileName, forms::Control* showButton)
    : Form("TImageTestForm", "ImageTestForm"), fileName_(fileName), showButton_(showButton) {
  Create();
  SetCaption("Glimoraの設定：テスト表示");
  SetClientSize(Scale(forms::Dip(kDesignBoxWidth)), Scale(forms::Dip(kDesignBoxHeight)));
  HelpContext = app::kHelpImages;
  forms::CreateControls({
      // Invisible: Enter and Escape both press it.
      {CloseBtn, "", 0, 0, 0, 0, forms::opDefault | forms::opCancel},
      {ImageScrollBox, "", 0, 0, kDesignBoxWidth, kDesignBoxHeight},
      {TestImageView, "", 0, 0, kDesignImageWidth, kDesignImageHeight, 0, &ImageScrollBox},
  });
  // A scroll box without border: the image starts at the client's corner.
  HWND box = ImageScrollBox.Handle();
  SetWindowLongA(box, GWL_EXSTYLE, GetWindowLongA(box, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ImageScrollBox.UpdateScrollRange();
  TestImage.SetSize(kDesignImageWidth, kDesignImageHeight);
  CloseBtn.ModalResult = forms::mrCancel;
  CloseBtn.OnClick = [this] { CloseBtnClick(); };
  // A failure TAll does not report itself leaves the design window.
  forms::Guarded([this] { FormCreate(); });
}

void TImageTestForm::FillCreateParams(forms::CreateParams& params) {
  Form::FillCreateParams(params);
  params.x = kDesignLeft;
  params.y = kDesignTop;
}

void TImageTestForm::FormCreate() {
  TestImage.SetPictureName(fileName_);
  TestImageView.SetBounds(0, 0, TestImage.Width(), TestImage.Height());
  RealizePalette();
  SetCaption("Glimora(ﾃｽﾄ表示): " + fileName_);
  // A name the code page cannot hold is shown as the file system spells it:
  // stored by the wide default procedure, as SetWindowTextW on this ANSI
  // window would pass the text through the code page.
  if (forms::HoldsWide(fileName_)) {
    const std::wstring caption = forms::FromAnsi("Glimora(ﾃｽﾄ表示): ") + forms::WidePath(fileName_);
    DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  }
  ImageScrollBox.SetBounds(0, 0, TestImage.Width(), TestImage.Height());
  SetClientSize(TestImage.Width(), TestImage.Height());
  PlaceBesideTaskBar();
}

// A picture with a palette shows its own colours on a 256-colour display.
void TImageTestForm::RealizePalette() {
  if (!TestImage.Palette()) return;
  forms::WindowDc dc(Handle());
  if (!dc.get()) return;
  forms::PaletteSelection realised(dc.get(), TestImage.Palette());
}

void TImageTestForm::PlaceBesideTaskBar() {
  const RECT now = BoundsRect();
  WindowBounds w = {now.left, now.top, now.right - now.left, now.bottom - now.top};
  RECT bar;
  const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  const bool hasBar = tray && GetWindowRect(tray, &bar);
  const WindowBounds placed = ::PlaceBesideTaskBar(GetSystemMetrics(SM_CXSCREEN),
                                                   GetSystemMetrics(SM_CYSCREEN),
                                                   hasBar ? &bar : nullptr, w);
  SetBounds(placed.left, placed.top, placed.width, placed.height);
  // A shrunk window: the scroll box takes the client area and scrolls the rest.
  ImageScrollBox.SetBounds(0, 0, ClientWidth(), ClientHeight());
  ImageScrollBox.UpdateScrollRange();
}

void TImageTestForm::FormActivate() {
  if (showButton_) showButton_->SetText("テスト表示");
}

void TImageTestForm::CloseBtnClick() { Close(); }

bool TImageTestForm::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam != VK_SPACE && msg.wParam != VK_RIGHT && msg.wParam != VK_NEXT) return false;
  SetModalResult(forms::mrOk);
  return true;
}

void TImageTestForm::FormClose(forms::CloseAction& action) { action = forms::CloseAction::Free; }
