#include "dialogs/ThemePage.h"

#include "forms/ControlRow.h"

ThemePage::ThemePage(forms::Form& dialog, const char* sheetName, int helpContext)
    : dialog_(dialog), Sheet(dialog, sheetName) {
  Sheet.HelpContext = helpContext;
}

void ThemePage::Create(forms::PageControl& pages, const char* caption) {
  forms::CreateControls({{Sheet, caption, 0, 0, 0, 0, 0, &pages}});
  CreateControls();
}
