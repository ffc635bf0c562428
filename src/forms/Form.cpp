// A form's window: created from its parameters, every message routed to the
// form or reflected to the control it concerns, its controls listed, and
// closing (modally through ModalLoop).
#include "forms/Form.h"

#include <algorithm>

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Gdi.h"
#include "forms/ModalLoop.h"
#include "forms/WindowClass.h"

namespace forms {

namespace {
const char kFormProp[] = "GlimoraForm";
const char kNameProp[] = "GlimoraName";
}  // namespace

Form::Form(const char* className, const char* name) : className_(className), name_(name) {}

Form::~Form() {
  controls_.clear();
  if (hwnd_ && IsWindow(hwnd_)) {
    RemovePropA(hwnd_, kFormProp);
    HWND h = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
  if (nameAtom_) GlobalDeleteAtom(nameAtom_);
}

Form* Form::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Form*>(GetPropA(hwnd, kFormProp)) : nullptr;
}

Form* Form::FromChildOrSelf(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetParent(h)) {
    if (Form* f = FromHandle(h)) return f;
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

void Form::RegisterClassOnce() {
  WindowClass wc{className_.c_str(), StaticWndProc, CS_DBLCLKS, ClassBrush()};
  wc.arrowCursor = true;
  wc.programIcon = true;
  RegisterWindowClass(wc);
}

void Form::FillCreateParams(CreateParams& params) {
  params.parent = Application::Get().Handle();
}

void Form::Create() {
  RegisterClassOnce();
  CreateParams p;
  FillCreateParams(p);
  hwnd_ = CreateWindowExA(p.exStyle, className_.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                          p.width, p.height, p.parent, nullptr, GetModuleHandleA(nullptr), this);
  if (hwnd_) {
    dpi_ = WindowDpi(hwnd_);
    nameAtom_ = GlobalAddAtomA(name_.c_str());
    SetPropA(hwnd_, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
  }
}

LRESULT CALLBACK Form::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* form = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    form = static_cast<Form*>(cs->lpCreateParams);
    form->hwnd_ = hwnd;
    SetPropA(hwnd, kFormProp, form);
  } else {
    form = FromHandle(hwnd);
  }
  if (!form) return DefWindowProcA(hwnd, msg, wp, lp);

  LRESULT result = 0;
  bool done = false;
  try {
    result = form->HandleMessage(msg, wp, lp);
    done = true;
  } catch (...) {
    Application::Get().HandleException();
  }
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kFormProp);
    RemovePropA(hwnd, kNameProp);
    form->hwnd_ = nullptr;
  }
  return done ? result : DefWindowProcA(hwnd, msg, wp, lp);
}

std::string Form::Caption() const {
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, &s[0], n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

void Form::SetCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }

void Form::Show() { ShowWindow(hwnd_, SW_SHOW); UpdateWindow(hwnd_); }
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

int Form::ShowModal() { return ModalLoop(*this).Run(); }

void Form::FormClose(CloseAction& /*action*/) {}

void Form::CloseRequested() {
  if (modal_) {
    // The modal loop runs the close itself once it sees a result.
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  CloseAction action = Application::Get().MainForm() == this ? CloseAction::Free : CloseAction::Hide;
  FormClose(action);
  if (action == CloseAction::Free) {
    DestroyWindow(hwnd_);
  } else if (action == CloseAction::Hide) {
    Hide();
  }
}

void Form::Close() {
  if (hwnd_) SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

bool Form::PreviewKey(const MSG& /*msg*/) { return false; }

int Form::AddControl(Control* control) {
  controls_.push_back(control);
  return nextId_++;
}

void Form::RemoveControl(Control* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (defaultButton_ == control) defaultButton_ = nullptr;
  if (cancelButton_ == control) cancelButton_ = nullptr;
}

bool Form::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  Control* c = nullptr;
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      c = Control::FromHandle(header->hwndFrom);
      return c && c->OnNotify(header, result);
    }
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: {
      c = Control::FromHandle(reinterpret_cast<HWND>(lp));
      const bool taken = c && (msg == WM_COMMAND ? c->OnCommand(HIWORD(wp)) : c->OnScroll(LOWORD(wp)));
      if (taken) result = 0;
      return taken;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      c = Control::FromHandle(reinterpret_cast<HWND>(lp));
      if (c) {
        if (HBRUSH b = c->OnColor(reinterpret_cast<HDC>(wp))) {
          result = reinterpret_cast<LRESULT>(b);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

LRESULT Form::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Reflect(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND: {
      // Enter and Escape arrive from the dialog manager as IDOK / IDCANCEL
      // or as the default button's id; press the button the form names.
      // Only a press counts: buttons with BS_NOTIFY also report focus
      // changes (BN_SETFOCUS, BN_KILLFOCUS) under their own id.
      if (HIWORD(wp) != BN_CLICKED) return 0;
      WORD id = LOWORD(wp);
      Control* target = nullptr;
      if (defaultButton_ && (id == IDOK || id == defaultButton_->Id())) target = defaultButton_;
      if (cancelButton_ && (id == IDCANCEL || id == cancelButton_->Id())) target = cancelButton_;
      if (target && target->Enabled()) target->OnCommand(BN_CLICKED);
      return 0;
    }
    case DM_GETDEFID:
      if (defaultButton_) return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
      return 0;
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_DPICHANGED:
      // Only a form laid out from its table can follow; others keep their pixels.
      if (designClient_.width.Units() <= 0) break;
      DpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_PAINT: {
      PaintDc dc(hwnd_);
      FormPaint(dc.get());
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focusedChild_ = focus;
        break;
      }
      FormActivate();
      // As a dialog box does: the focus goes back to the control that had it,
      // or to the first control in tab order, rather than to the form itself.
      if (!HIWORD(wp)) {
        HWND focus = focusedChild_ && IsChild(hwnd_, focusedChild_) && IsWindowVisible(focusedChild_)
                         ? focusedChild_
                         : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (focus && IsChild(hwnd_, focus)) {
          ::SetFocus(focus);
          return 0;
        }
      }
      break;
    case WM_HELP: {
      // F1: the context of the control (or the nearest container) that has
      // one, else the form's.
      int context = HelpContext;
      auto* info = reinterpret_cast<HELPINFO*>(lp);
      HWND item = info && info->iContextType == HELPINFO_WINDOW ? static_cast<HWND>(info->hItemHandle) : nullptr;
      for (HWND h = item; h && h != hwnd_; h = GetParent(h)) {
        Control* c = Control::FromHandle(h);
        if (c && c->HelpContext) {
          context = c->HelpContext;
          break;
        }
      }
      if (context) {
        Application::Get().HelpContext(context);
        return TRUE;
      }
      break;
    }
    case WM_DESTROY:
      FormDestroy();
      if (Application::Get().MainForm() == this) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

}  // namespace forms
