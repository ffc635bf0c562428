// The theme settings dialog: every setting of one theme, one page per
// subject (images with their WAV sounds, background music, effects, the
// rest). It owns the pages and the record: the theme is read while the
// dialog is created, each page shows its part, and OK collects every page
// and rewrites the whole section.
#pragma once
#include <memory>
#include <vector>

#include "dialogs/SettingsDialog.h"
#include "dialogs/ThemePage.h"
#include "forms/OpenDialog.h"
#include "forms/PageControl.h"
#include "settings/Theme.h"

class TSetDialog : public SettingsDialog {
 public:
  // Works on theme number `theme` (section Theme<theme>).
  explicit TSetDialog(int theme);
  ~TSetDialog() override;

  forms::PageControl SetPageControl{*this, "SetPageControl"};
  forms::Button CanncelBtn{*this, "CanncelBtn"};
  forms::Button SetHelpBtn{*this, "SetHelpBtn"};

 protected:
  void FormClose(forms::CloseAction& action) override;

 private:
  template <class Page>
  void AddPage() {
    pages_.push_back(std::make_unique<Page>(PageHome{*this, SetPageControl, files_}));
  }
  void FormCreate();
  void OKBtnClick() override;
  void SetHelpBtnClick();

  const int theme_;       // the theme this dialog works on
  settings::Theme kept_;  // values without a control, written back as read
  forms::OpenDialog files_;  // shared by the pages: each starts where the last one ended
  std::vector<std::unique_ptr<ThemePage>> pages_;  // in tab order
};
