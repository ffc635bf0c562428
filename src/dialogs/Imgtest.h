// The image test display: one image file of a theme's list at its own size,
// in a modal window placed beside the task bar. It loads through TAll, which
// reports a file that cannot be shown in a message box of its own.
#pragma once
#include <string>

#include "forms/Button.h"
#include "forms/Container.h"
#include "forms/Form.h"
#include "forms/ScrollBox.h"
#include "picture/All.h"

// The window that shows a TAll's picture (TAll itself has no window).
class TPictureView : public forms::Container {
 public:
  TPictureView(forms::Form& form, const char* name, const TAll& picture)
      : Container(form, name, "TPictureView"), picture_(picture) {}

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  const TAll& picture_;
};

class TImageTestForm : public forms::Form {
 public:
  // fileName: the image to show; showButton: the settings dialog's button
  // whose caption reads "loading" until this window is active (may be null).
  TImageTestForm(const std::string& fileName, forms::Control* showButton);

  forms::Button CloseBtn{*this, "CloseBtn"};
  forms::ScrollBox ImageScrollBox{*this, "ImageScrollBox"};
  TAll TestImage{*this, "TestImage"};
  TPictureView TestImageView{*this, "TestImage", TestImage};

  // Stepping through a folder's pictures: Space, Right and Page Down close
  // the window with mrOk (show the next one); Enter, Escape and the close
  // box still close it with mrCancel (stop).
  void AllowStepping() { KeyPreview = true; }
  bool PreviewKey(const MSG& msg) override;

 protected:
  void FillCreateParams(forms::CreateParams& params) override;
  void FormActivate() override;
  void FormClose(forms::CloseAction& action) override;

 private:
  void FormCreate();
  void CloseBtnClick();
  void RealizePalette();
  void PlaceBesideTaskBar();

  std::string fileName_;
  forms::Control* showButton_;
};
