// The help contexts the dialogs carry, and the page each one opens: the one
// list of them (the help build checks that each page exists, the help tests
// read this list). Numbers are the contexts of the dialogs' help buttons and
// F1; any other number opens the start page.
#pragma once

namespace app {

enum HelpTopic : int {
  kHelpThemes = 1,  // theme selection dialog
  kHelpNames,       // rename and other-settings dialogs
  kHelpImages,      // image page, image test display
  kHelpMusic,       // music page
  kHelpEffects,     // effects page
  kHelpOther,       // その他 page
  kHelpDisplay,     // 表示 page
};

// Page of each topic, from kHelpThemes on.
constexpr const char* kHelpTopicPages[] = {
    "themes.html", "names.html", "images.html", "music.html", "effects.html", "other.html", "display.html",
};
static_assert(sizeof kHelpTopicPages / sizeof kHelpTopicPages[0] == kHelpDisplay, "one page a topic");

}  // namespace app
