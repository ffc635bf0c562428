#include "dialogs/ThemePage.h"

#include "forms/ControlRow.h"

ThemePage::ThemePage(const PageHome& home, const char* sheetName, const char* caption, int helpContext)
    : dialog_(home.dialog), Sheet(home.dialog, sheetName) {
  Sheet.HelpContext = helpContext;
  forms::CreateControls({{Sheet, caption, 0, 0, 0, 0, 0, &home.pages}});
}
