// The saver window as the sequencer's host: the picture, the bitmaps and
// the effect steps.
#include "picture/All.h"
#include "saver/Background.h"
#include "saver/MainForm.h"

namespace key = settings::key;

// BackBitmap from the theme's background keys, then ScreenBitmap as its
// copy, PatternBitmap and a black WorkBitmap.
void TMainForm::BuildBackground() {
  saver::BackgroundChoice choice;
  choice.Kind = Settings.BackGround;
  choice.Color = Settings.BackColor;
  choice.FileName = Settings.BackFileName;
  saver::BuildBackBitmap(choice, ClientSize(), *Image, BackBitmap);
  int w = BackBitmap.Width(), h = BackBitmap.Height();
  ScreenBitmap.Create(w, h);
  BitBlt(ScreenBitmap.Dc(), 0, 0, w, h, BackBitmap.Dc(), 0, 0, SRCCOPY);
  PatternBitmap.Create(8, 8);
  WorkBitmap.Create(w, h);
  WorkBitmap.Fill(RGB(0, 0, 0));
  ApplyImagePalette();
}

void TMainForm::SetInterval(int ms) { Timer2.SetInterval(ms > 0 ? static_cast<UINT>(ms) : 1); }

SIZE TMainForm::ClientSize() const { return {ClientWidth(), ClientHeight()}; }

void TMainForm::ReadImageEntry(int n, std::string& image, std::string& wave) {
  image = Settings.Entry(key::Image, n);
  wave = Settings.Entry(key::Wave, n);
}

void TMainForm::LoadImage(const std::string& name) {
  // The old picture's palette goes with it: let no bitmap hold it then.
  BackBitmap.UsePalette(nullptr);
  ScreenBitmap.UsePalette(nullptr);
  WorkBitmap.UsePalette(nullptr);
  Image->SetPictureName(name);
}

SIZE TMainForm::ImageSize() const { return {Image->Width(), Image->Height()}; }

void TMainForm::ApplyImagePalette() {
  HPALETTE palette = Image->Empty() ? nullptr : Image->Palette();
  BackBitmap.UsePalette(palette);
  ScreenBitmap.UsePalette(palette);
  WorkBitmap.UsePalette(palette);
}

void TMainForm::Flush(const RECT& r) {
  if (!Handle()) return;
  forms::WindowDc dc(Handle());
  BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, ScreenBitmap.Dc(), r.left,
         r.top, SRCCOPY);
}

saver::EffectContext TMainForm::MakeEffectContext() {
  saver::EffectContext c;
  c.Screen = ScreenBitmap.Dc();
  c.Back = BackBitmap.Dc();
  c.Work = WorkBitmap.Dc();
  c.Pattern = PatternBitmap.Dc();
  c.PatternBitmap = PatternBitmap.Bitmap();
  c.MaskStrip = ImageMaterial.Dc();
  c.ClientWidth = ClientWidth();
  c.ClientHeight = ClientHeight();
  c.AppearInterval = saver::BaseInterval(Settings.AppearSpeed);
  c.EraseInterval = saver::BaseInterval(Settings.EraseSpeed);
  c.ShowState = &Sequencer->ShowState;
  c.StateEntered = &Sequencer->StateEntered;
  c.State = &EffectVars;
  c.SetInterval = [this](int ms) { SetInterval(ms); };
  c.Flush = [this](const RECT& r) { Flush(r); };
  c.Random = Random;
  return c;
}

namespace {
void DescribeImage(saver::EffectContext& c, TAll_nmsg& image, const saver::Sequencer& seq) {
  c.W = image.Width();
  c.H = image.Height();
  c.Image = image.Canvas();
  c.Palette = image.Empty() ? nullptr : image.Palette();
  c.X = seq.ImageLeft;
  c.Y = seq.ImageTop;
  c.EffectCoin = seq.EffectCoin;
}
}  // namespace

void TMainForm::AppearStep(int kind) {
  saver::EffectContext c = MakeEffectContext();
  DescribeImage(c, *Image, *Sequencer);
  saver::AppearStep(c, kind);
}

void TMainForm::EraseStep(int kind) {
  saver::EffectContext c = MakeEffectContext();
  DescribeImage(c, *Image, *Sequencer);
  saver::EraseStep(c, kind);
}

void TMainForm::KeepScreenAsBackground() {
  BitBlt(BackBitmap.Dc(), 0, 0, ClientWidth(), ClientHeight(), ScreenBitmap.Dc(), 0, 0, SRCCOPY);
}
