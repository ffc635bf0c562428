#include "forms/Container.h"

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Gdi.h"
#include "forms/WindowClass.h"

namespace forms {

void Container::Create(const ControlRow& row) {
  CreateContainer(row.caption, row.CommonStyle(false), 0, row.place, row.ParentHandle());
}

void Container::CreateContainer(const std::string& caption, DWORD style, DWORD exStyle,
                                const DesignRect& place, HWND parent) {
  WindowClass wc{windowClass_, WndProc};
  wc.arrowCursor = true;
  wc.background = GetSysColorBrush(COLOR_BTNFACE);
  RegisterWindowClass(wc);
  // WS_EX_CONTROLPARENT lets Tab and the arrow keys reach the controls inside.
  CreateHandle(windowClass_, caption, style | WS_CLIPSIBLINGS, exStyle | WS_EX_CONTROLPARENT, place,
               parent);
}

HFONT Container::FormFont() const { return OwnerForm().Font(); }

LRESULT Container::ContainerMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = Handle();
  switch (msg) {
    case WM_PAINT: {
      PaintDc dc(hwnd);
      RECT client;
      GetClientRect(hwnd, &client);
      Guarded([&] { Paint(dc.get(), client); });
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK Container::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<Container*>(Control::FromHandle(hwnd));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  LRESULT result = 0;
  if (Form::Reflect(msg, wp, lp, result)) return result;
  try {
    return self->ContainerMessage(msg, wp, lp);
  } catch (...) {
    Application::Get().HandleException();
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace forms
