#include "forms/FolderDialog.h"

#include "forms/Com.h"

// The item dialog is declared for Vista and later; it is looked for at run
// time (CoCreateInstance), so older systems still start the program.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "forms/Application.h"
#include "forms/WideText.h"

namespace forms {

namespace {

HWND Owner() { return GetActiveWindow() ? GetActiveWindow() : Application::Get().Handle(); }


// Releases a COM interface when the scope ends.
template <class T>
struct ComRef {
  T* p = nullptr;
  ~ComRef() {
    if (p) p->Release();
  }
};

}  // namespace

FolderDialog::Outcome FolderDialog::Take(const wchar_t* path) {
  if (ToAnsi(path, folder_)) return Outcome::Chosen;
  wchar_t shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameW(path, shortPath, MAX_PATH);
  if (n > 0 && n < MAX_PATH && ToAnsi(shortPath, folder_)) return Outcome::Chosen;
  folder_.clear();
  return Outcome::NoAnsiName;
}

bool FolderDialog::ExecuteItemDialog(Outcome& outcome) {
  ComApartment com;  // while the picker runs
  ComRef<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(&dialog.p))))
    return false;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.p->GetOptions(&options);
  dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  if (!Title.empty()) dialog.p->SetTitle(FromAnsi(Title).c_str());
  outcome = Outcome::Cancelled;
  if (FAILED(dialog.p->Show(Owner()))) return true;
  ComRef<IShellItem> item;
  wchar_t* path = nullptr;
  if (FAILED(dialog.p->GetResult(&item.p)) || FAILED(item.p->GetDisplayName(SIGDN_FILESYSPATH, &path)))
    return true;
  outcome = Take(path);
  CoTaskMemFree(path);
  return true;
}

FolderDialog::Outcome FolderDialog::ExecuteBrowseDialog() {
  char name[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = Owner();
  info.pszDisplayName = name;
  info.lpszTitle = Title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST list = SHBrowseForFolderA(&info);
  if (!list) return Outcome::Cancelled;
  wchar_t path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListW(list, path) != FALSE;
  CoTaskMemFree(list);
  return found ? Take(path) : Outcome::Cancelled;
}

FolderDialog::Outcome FolderDialog::Execute() {
  folder_.clear();
  Outcome outcome = Outcome::Cancelled;
  if (ExecuteItemDialog(outcome)) return outcome;
  return ExecuteBrowseDialog();
}

}  // namespace forms
