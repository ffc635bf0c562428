#include "picture/All.h"

#include <exception>
#include <memory>

#include "forms/Application.h"
#include "forms/Error.h"
#include "forms/Form.h"
#include "forms/WidePath.h"
#include "picture/Decode.h"
#include "picture/Decoders.h"
#include "picture/GuardedDecode.h"

using namespace picture;

namespace {

// The decodes run on a guarded thread: a decoder that hangs or crashes
// costs the test display its picture, not the settings dialog. Failures the
// decode raises are raised here again. Pictures are loaded here on the
// window thread only, one at a time.
DecodeOutcome DecodeShielded(const std::string& name, bool preview) {
  static forms::GuardedThread decoder;
  struct Shared {
    DecodeOutcome outcome;
    std::exception_ptr raised;
  };
  auto shared = std::make_shared<Shared>();
  const DecodeEnd end = DecodeGuarded(decoder, name, [shared, name, preview](HDC canvas) {
    try {
      shared->outcome = DecodeFile(name, preview, canvas);
    } catch (...) {
      shared->raised = std::current_exception();
    }
  });
  if (end != DecodeEnd::Finished) {
    DecodeOutcome failed;
    failed.error = DecodeEndError(end);
    failed.message = DecodeEndMessage(end);
    return failed;
  }
  if (shared->raised) std::rethrow_exception(shared->raised);
  return std::move(shared->outcome);
}

}  // namespace

TAll::TAll() : TAll(true, nullptr, "") {}

TAll::TAll(forms::Form& owner, const char* name) : TAll(true, &owner, name) {}

TAll::TAll(bool reportFailures, forms::Form* owner, const char* name)
    : reportFailures_(reportFailures), ownerForm_(owner), name_(name ? name : "") {}

void TAll::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void TAll::SetPictureName(const std::string& name) {
  pictureName_ = name;
  if (name.empty()) {
    error_ = 0;
    picture_.Clear();
    return;
  }
  picture_.Clear();
  LoadPicture();
}

void TAll::Adopt(const std::string& name, LoadedPicture picture, bool paletteMade) {
  pictureName_ = name;
  error_ = 0;
  ClearJpegState();
  Show(std::move(picture));
  if (paletteMade) RealizeInOwner();
}

void TAll::SetPreView(bool preView) {
  preView_ = preView;
  if (!pictureName_.empty()) LoadPicture();  // a failure keeps the picture on show
}

void TAll::LoadPicture() {
  error_ = 0;
  const Decoder kind = DecoderFor(PictureExtension(pictureName_));
  DecodeOutcome outcome = DecodeShielded(pictureName_, preView_);
  if (outcome.error != 0) {
    // A JPEG's failure, or a native file that does not hold together, keeps
    // the JPEG state of the picture before.
    if (kind != Decoder::Jpg && !IsNative(kind)) ClearJpegState();
    Fail(outcome.error, outcome.message);
    return;
  }
  if (kind == Decoder::Jpg) {
    orgWidth_ = outcome.orgWidth;
    orgHeight_ = outcome.orgHeight;
  } else {
    ClearJpegState();
  }
  const bool paletteMade = outcome.paletteMade;
  Show(std::move(outcome.picture));
  if (paletteMade) RealizeInOwner();
}

void TAll::Show(LoadedPicture picture) {
  if (AutoSize && picture.width > 0 && picture.height > 0) {
    width_ = picture.width;
    height_ = picture.height;
  }
  picture_.Assign(std::move(picture));
}

// Sets the code, tells the user (TAll only) and forgets the file name.
void TAll::Fail(int code, const std::string& message) {
  error_ = code;
  if (reportFailures_) {
    MessageBeep(MB_ICONEXCLAMATION);
    const std::string text =
        forms::Format("%s [%s]", message.c_str(), forms::ShownPath(pictureName_).c_str());
    MessageBoxA(nullptr, text.c_str(), forms::Application::Get().Title().c_str(),
                MB_OK | MB_TASKMODAL);
  }
  pictureName_.clear();
}

void TAll::ClearJpegState() {
  preView_ = false;
  orgWidth_ = 0;
  orgHeight_ = 0;
}

// The form shows the picture with its palette: realise it there once, then
// give the form's DC its own palette back.
void TAll::RealizeInOwner() {
  const HWND owner = ownerWindow_ ? ownerWindow_ : ownerForm_ ? ownerForm_->Handle() : nullptr;
  if (!owner || !picture_.Palette()) return;
  forms::WindowDc dc(owner);
  if (!dc.get()) return;
  forms::PaletteSelection realised(dc.get(), picture_.Palette());
}
