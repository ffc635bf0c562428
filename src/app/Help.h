// The help: one HTML page per help context, in the folder "help" beside
// Glimora.scr, opened in the user's browser.
#pragma once
#include <string>

namespace app {

// File name of the page of a help context; the start page for any other.
const char* HelpPageName(int context);

// The help folder beside the running program, with a trailing "\".
std::string HelpFolder();

// Opens the page of the context in the browser. When the page is missing a
// message box says where it was looked for; when no program opens it, a
// message box says so and names the page.
void ShowHelp(int context);

}  // namespace app
