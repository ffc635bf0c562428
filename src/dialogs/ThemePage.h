// One page of the theme settings dialog: a tab sheet with its own controls
// and handlers, showing its part of the theme record and collecting it back.
// The dialog owns the pages, the record and OK/Cancel/Help; a new page is a
// new ThemePage and one line in the dialog's constructor.
#pragma once
// The controls and components pages are built from.
#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/Edit.h"
#include "forms/FileDrop.h"
#include "forms/Form.h"
#include "forms/GroupBox.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/MediaPlayer.h"
#include "forms/OpenDialog.h"
#include "forms/PageControl.h"
#include "forms/Panel.h"
#include "forms/RadioButton.h"
#include "forms/Timer.h"
#include "forms/TrackBar.h"
#include "settings/Theme.h"

// What every page is built with.
struct PageHome {
  forms::Form& dialog;
  forms::PageControl& pages;
  forms::OpenDialog& files;  // shared: each page's file dialog starts where the last one ended
};

class ThemePage {
 public:
  virtual ~ThemePage() = default;
  ThemePage(const ThemePage&) = delete;
  ThemePage& operator=(const ThemePage&) = delete;

  virtual void Show(const settings::Theme& theme) = 0;
  // The page's values into the record; may raise (a delay that is no integer).
  virtual void Collect(settings::Theme& theme) const = 0;
  // Another page comes up, or OK is pressed: tests stop, choices are completed.
  virtual void Leave() {}
  // The dialog closes.
  virtual void Close() { Leave(); }

 protected:
  // Puts the page's sheet on the page control; the page then creates its
  // controls on it in its own constructor.
  ThemePage(const PageHome& home, const char* sheetName, const char* caption, int helpContext);
  forms::Form& dialog_;
  forms::TabSheet Sheet;
};
