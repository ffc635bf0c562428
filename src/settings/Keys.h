// Every key of "Glimora.ini" with its defaults, in one place. The saver and
// the dialogs read some keys with different defaults; Role picks the one.
#pragma once
#include <string>

#include "settings/EffectKind.h"

namespace settings {

enum class Role { Saver, Dialog };

// A key with its default for each reader.
template <typename T>
struct Key {
  const char* name;
  T saver;
  T dialog;
  T Default(Role r) const { return r == Role::Saver ? saver : dialog; }
};
using StrKey = Key<const char*>;
using IntKey = Key<int>;
using BoolKey = Key<bool>;  // on for any number but 0

// A switch that only 1 turns on: absent or anything else (a hand-edited 2 or
// "yes") is off for every reader, so a file from before the switch existed
// shows the show as it was.
struct OnlyOneKey {
  const char* name;
};

constexpr char kFileName[] = "Glimora.ini";
constexpr char kMainSection[] = "Main";
constexpr int kThemeCount = 10;

// "Theme" followed by the number in decimal: Theme0 ... Theme9 (Theme10 for the saver's default).
inline std::string ThemeSection(int number) { return "Theme" + std::to_string(number); }
// Numbered list keys: Image0, Wave3, Midi12, ThemeName5 ...
inline std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

namespace key {

// Section "Main".
constexpr IntKey ThemeNumber{"ThemeNumber", 10, 0};
constexpr StrKey ThemeName{"ThemeName", "名称未設定", "名称未設定"};  // numbered 0..9
constexpr IntKey CloseMouseMove{"CloseMouseMove", 4, 4};

// Section "Theme" + n, in the order in which the theme settings dialog writes them.
constexpr BoolKey Title{"Title", true, true};
constexpr StrKey TitleText0{"TitleText0", "Wren presents", "Wren presents"};
constexpr StrKey TitleText1{"TitleText1", "Glimora", "Glimora"};
constexpr StrKey TitleFontName0{"TitleFontName0", "Times New Roman", "Times New Roman"};
constexpr StrKey TitleFontName1{"TitleFontName1", "Times New Roman", "Times New Roman"};
constexpr IntKey TitleFontSize0{"TitleFontSize0", 48, 48};
constexpr IntKey TitleFontSize1{"TitleFontSize1", 96, 96};
constexpr IntKey TitleR{"TitleR", 255, 255};
constexpr IntKey TitleG{"TitleG", 255, 255};
constexpr IntKey TitleB{"TitleB", 255, 255};
constexpr IntKey TitleFadeInterval{"TitleFadeInterval", 100, 100};
constexpr IntKey TitleOnDelay{"TitleOnDelay", 1500, 1500};
constexpr IntKey ImageCount{"ImageCount", 0, 0};
constexpr StrKey Image{"Image", "", ""};         // numbered
constexpr StrKey Wave{"Wave", "", "なし"};        // numbered
constexpr BoolKey ImageOrdRandom{"ImageOrdRandom", true, true};
constexpr BoolKey FromLastImage{"FromLastImage", false, false};
constexpr IntKey LastImageNumber{"LastImageNumber", 0, 0};
// Inside the folder entry LastImageNumber names: the path below the folder
// of the last picture shown. Written only when there is one; older builds
// ignore it.
constexpr StrKey LastImageInFolder{"LastImageInFolder", "", ""};
constexpr BoolKey BGM{"BGM", true, true};
constexpr IntKey MidiCount{"MidiCount", 0, 0};
constexpr StrKey Midi{"Midi", "", ""};           // numbered
constexpr BoolKey MidiOrdRandom{"MidiOrdRandom", true, true};
constexpr BoolKey FromLastMidi{"FromLastMidi", false, false};
constexpr IntKey LastMidiNumber{"LastMidiNumber", 0, 0};
// The appear and the erase switch of each effect kind, in EffectKind order
// (Normal, Blind, Scroll, Stretch, Slide, HalfSlide, Mesh, Fade). Blind
// alone is on by default. The file holds the appear switches, then
// ImageFadeInSpeed, then the erase switches, then ImageFadeOutSpeed.
struct EffectSwitchKeys {
  BoolKey appear;
  BoolKey erase;
};
constexpr EffectSwitchKeys EffectSwitch[kEffectKinds] = {
    {{"ImageNormalOn", false, false}, {"ImageNormalOff", false, false}},
    {{"ImageBlindOn", true, true}, {"ImageBlindOff", true, true}},
    {{"ImageScrollOn", false, false}, {"ImageScrollOff", false, false}},
    {{"ImageStretchOn", false, false}, {"ImageStretchOff", false, false}},
    {{"ImageSlideOn", false, false}, {"ImageSlideOff", false, false}},
    {{"ImageHalfSlideOn", false, false}, {"ImageHalfSlideOff", false, false}},
    {{"ImageMeshOn", false, false}, {"ImageMeshOff", false, false}},
    {{"ImageFadeOn", false, false}, {"ImageFadeOff", false, false}},
};
constexpr IntKey ImageFadeInSpeed{"ImageFadeInSpeed", 400, 400};
constexpr IntKey ImageFadeOutSpeed{"ImageFadeOutSpeed", 400, 400};
constexpr BoolKey NotErase{"NotErase", false, false};
constexpr BoolKey ImagePosRandom{"ImagePosRandom", true, true};
// Pictures larger than the screen are shrunk to fit it; absent means on, so
// themes stored before the switch existed show their photos whole.
constexpr BoolKey ImageFit{"ImageFit", true, true};
// Pictures on several monitors (MonitorsMode); absent means each monitor its
// own, so themes stored before the choice existed use every monitor.
constexpr IntKey Monitors{"Monitors", 1, 1};
// Keys during the show: 0 every key ends it (as before the key existed),
// 1 the arrows, the page keys and Space step and pause it.
constexpr OnlyOneKey ShowKeys{"ShowKeys"};
// The caption under each picture (CaptionMode); absent means none.
constexpr IntKey Caption{"Caption", 0, 0};
// A picture moves slowly while it stands (pan and zoom), and a picture that
// leaves bars on its monitor gets them filled with a blurred copy of itself.
constexpr OnlyOneKey PanZoom{"PanZoom"};
constexpr OnlyOneKey BlurFill{"BlurFill"};
constexpr IntKey BackGround{"BackGround", 0, 0};
constexpr IntKey BackColor{"BackColor", 0, 0};
constexpr StrKey BackFileName{"BackFileName", "", "なし"};
constexpr IntKey FirstDelay{"FirstDelay", 4000, 4000};
constexpr IntKey ImageOnDelay{"ImageOnDelay", 3000, 3000};
constexpr IntKey ImageOffDelay{"ImageOffDelay", 2000, 2000};

// Older layout: read by the theme settings dialog, never written.
constexpr IntKey ImageOnEffect{"ImageOnEffect", -1, -1};
constexpr IntKey ImageOffEffect{"ImageOffEffect", -1, -1};

}  // namespace key

// What the other monitors show, as the Monitors key stores it.
enum MonitorsMode : int {
  kPrimaryOnly = 0,   // the primary monitor alone; the others keep the background
  kEachOwn = 1,       // every monitor its own pictures
  kAllSame = 2,       // every monitor the same picture, changing together
};

// What the caption of a picture says, as the Caption key stores it.
enum CaptionMode : int {
  kNoCaption = 0,
  kCaptionName = 1,         // the file name
  kCaptionDate = 2,         // the date taken
  kCaptionDateAndName = 3,  // both, the date first
};

// The marker stored for "no file".
constexpr char kNone[] = "なし";

}  // namespace settings
