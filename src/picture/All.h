// The picture component: give it a file name and it loads the picture at
// once, sizes itself to it and reports the outcome in Error().
//
// TAll beeps and shows a message box for every failure (the image test
// display); TAll_nmsg stays silent (the saver), with the same state changes.
#pragma once
#include <windows.h>

#include <string>

#include "picture/Picture.h"

namespace forms {
class Form;
}

class TAll {
 public:
  TAll();
  // Owned by a form: the form is where a new 256-colour palette is realised.
  TAll(forms::Form& owner, const char* name);
  virtual ~TAll() = default;
  TAll(const TAll&) = delete;
  TAll& operator=(const TAll&) = delete;

  // Writing loads the file (an empty name only empties the picture). Throws
  // forms::Error for failures not handled here (a native file that cannot be
  // read, resources running out), leaving the new name, Error() 0 and the
  // picture as it stood.
  void SetPictureName(const std::string& name);
  const std::string& PictureName() const { return pictureName_; }
  // Takes over a picture loaded elsewhere (on the background loader's
  // worker) as a successful load of name: Error() 0, the control sized to
  // it; paletteMade realises its new palette in the owner as a load would.
  void Adopt(const std::string& name, picture::LoadedPicture picture, bool paletteMade);
  // JPEG only: load the plug-in's reduced preview. Writing reloads.
  void SetPreView(bool preView);
  bool PreView() const { return preView_; }
  int OrgWidth() const { return orgWidth_; }
  int OrgHeight() const { return orgHeight_; }
  bool AutoSize = true;
  int Error() const { return error_; }

  bool Empty() const { return picture_.Empty(); }
  // The control's size: the picture's after a successful load (AutoSize).
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int width, int height);
  HBITMAP Bitmap() const { return picture_.Bitmap(); }
  HPALETTE Palette() const { return picture_.Palette(); }
  // A memory DC with the picture selected; when empty, a blank bitmap of the
  // control's size is put in first.
  HDC Canvas() { return picture_.Canvas(width_, height_); }
  void Paint(HDC dc, int x, int y) const { picture_.Paint(dc, x, y); }
  // The enclosing window, where a new 256-colour palette is realised
  // (overrides the owner form's window).
  void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }
  const std::string& Name() const { return name_; }

 protected:
  TAll(bool reportFailures, forms::Form* owner, const char* name);

 private:
  void LoadPicture();
  void Show(picture::LoadedPicture picture);
  void Fail(int code, const std::string& message);
  void ClearJpegState();
  void RealizeInOwner();

  const bool reportFailures_;
  std::string pictureName_;
  bool preView_ = false;
  int orgWidth_ = 0;
  int orgHeight_ = 0;
  int error_ = 0;
  int width_ = 105;
  int height_ = 105;
  forms::Form* ownerForm_ = nullptr;
  HWND ownerWindow_ = nullptr;
  std::string name_;
  picture::PictureHolder picture_;
};

class TAll_nmsg : public TAll {
 public:
  TAll_nmsg() : TAll(false, nullptr, "") {}
  TAll_nmsg(forms::Form& owner, const char* name) : TAll(false, &owner, name) {}
};
