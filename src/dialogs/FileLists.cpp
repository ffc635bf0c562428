#include "dialogs/FileLists.h"

#include <windows.h>

std::string EntryOf(const std::string& itemText) { return itemText.substr(0, itemText.find('\t')); }

std::string Entry(const forms::ListBox& list, int index) { return EntryOf(list.Item(index)); }

void ReplaceItem(forms::ListBox& list, int index, const std::string& text) {
  HWND box = list.Handle();
  const int top = static_cast<int>(SendMessageA(box, LB_GETTOPINDEX, 0, 0));
  const int caret = static_cast<int>(SendMessageA(box, LB_GETCARETINDEX, 0, 0));
  const bool selected = list.Selected(index);
  SendMessageA(box, WM_SETREDRAW, FALSE, 0);
  list.Delete(index);
  list.Insert(index, text);
  list.SetSelected(index, selected);
  SendMessageA(box, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
  SendMessageA(box, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageA(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

void PrepareAddDialog(forms::OpenDialog& dialog, const char* filter, const char* pattern) {
  dialog.Options = forms::ofHideReadOnly | forms::ofAllowMultiSelect | forms::ofPathMustExist |
                   forms::ofFileMustExist;
  dialog.Filter = filter;
  dialog.FileName = pattern;
  dialog.Title.clear();
  dialog.InitialDir.clear();
}

std::vector<int> SelectedIndexes(const forms::ListBox& list) {
  std::vector<int> out;
  for (int i = 0, n = list.Count(); i < n; ++i)
    if (list.Selected(i)) out.push_back(i);
  return out;
}

void InsertBeforeCurrent(forms::ListBox& list, forms::ListBox* parallel,
                         const std::vector<std::string>& files, const std::string& fill) {
  int at = list.Count();
  if (list.Count() > 0) {
    const int current = list.ItemIndex();
    if (current >= 0 && current < list.Count()) {
      list.SetSelected(current, false);
      at = current;
    }
  }
  for (const std::string& file : files) {
    list.Insert(at, file);
    if (parallel) parallel->Insert(at, fill);
    list.SetSelected(at, true);
    ++at;
  }
}

namespace {
void MoveEntry(forms::ListBox& list, forms::ListBox* parallel, int from, int to) {
  list.Move(from, to);
  if (parallel) parallel->Move(from, to);
  list.SetSelected(to, true);
}
}  // namespace

void MoveSelectedUp(forms::ListBox& list, forms::ListBox* parallel) {
  const int current = list.ItemIndex();
  if (current <= 0) return;
  const std::vector<int> selected = SelectedIndexes(list);
  if (selected.empty() || selected.front() == 0) return;
  for (int i : selected) MoveEntry(list, parallel, i, i - 1);
}

void MoveSelectedDown(forms::ListBox& list, forms::ListBox* parallel) {
  const int last = list.Count() - 1;
  const int current = list.ItemIndex();
  if (current < 0 || current >= last) return;
  const std::vector<int> selected = SelectedIndexes(list);
  if (selected.empty() || selected.back() == last) return;
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) MoveEntry(list, parallel, *it, *it + 1);
}

void DeleteSelected(forms::ListBox& list, forms::ListBox* parallel) {
  const std::vector<int> selected = SelectedIndexes(list);
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    if (parallel) parallel->Delete(*it);
    list.Delete(*it);
  }
}
