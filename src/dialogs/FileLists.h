// Editing of the dialog's ordered file lists. A list may have a parallel
// list (the WAV sounds beside the images) that every insertion, move and
// deletion changes in the same step, so the two never differ in length or order.
#pragma once
#include <string>
#include <vector>

#include "forms/ListBox.h"
#include "forms/OpenDialog.h"
#include "picture/Decoders.h"
#include "picture/PluginExtensions.h"

// Open-dialog filters and name patterns of the three choosers.
// The picture extensions are the picture component's (OfferedPattern), then
// those the installed decoders of the imaging component read.
inline std::string GraphicPattern() {
  const std::string& wic = picture::WicFilter();
  return wic.empty() ? picture::OfferedPattern() : picture::OfferedPattern() + ";" + wic;
}
inline std::string GraphicFilter() { return "グラフィックファイル|" + GraphicPattern(); }
inline constexpr char kMidiFilter[] = "MIDIﾌｧｲﾙ|*.mid;*.rmi";
inline constexpr char kMidiPattern[] = "*.mid;*.rmi";
inline constexpr char kSoundFilter[] = "ｻｳﾝﾄﾞﾌｧｲﾙ|*.wav";
inline constexpr char kSoundPattern[] = "*.wav";

// An image list item is the entry as the theme stores it; a folder entry's
// item adds a tab and the number of pictures found ("C:\Photos\\t(120枚)").
// No path holds a tab, so the entry is the text before it.
std::string EntryOf(const std::string& itemText);
std::string Entry(const forms::ListBox& list, int index);

// Replaces the text of one item, keeping its selection, the current item
// and the scroll position.
void ReplaceItem(forms::ListBox& list, int index, const std::string& text);

// Prepares the open dialog for adding files to a list: read-only box hidden,
// several files, path and file must exist; no title, no start folder.
void PrepareAddDialog(forms::OpenDialog& dialog, const char* filter, const char* pattern);

// Indexes of the selected entries, in list order.
std::vector<int> SelectedIndexes(const forms::ListBox& list);

// Inserts files before the current entry (which is deselected), or appends
// them to an empty list, and selects them; the parallel list gets fill at
// the same places.
void InsertBeforeCurrent(forms::ListBox& list, forms::ListBox* parallel,
                         const std::vector<std::string>& files, const std::string& fill);

// Moves every selected entry one place up (down), keeping it selected. Does
// nothing when the current entry is the first (last), or when a selected
// entry has no room to move, so no entry is ever lost.
void MoveSelectedUp(forms::ListBox& list, forms::ListBox* parallel);
void MoveSelectedDown(forms::ListBox& list, forms::ListBox* parallel);

// Deletes the selected entries (and the parallel ones), from the last up.
void DeleteSelected(forms::ListBox& list, forms::ListBox* parallel);
