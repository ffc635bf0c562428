// The application manifest as Windows reads it out of the built Glimora.scr:
// one manifest resource (id 1, the one a program's start looks for) that asks
// for per-monitor DPI awareness, the version 6 common controls and the
// systems up to Windows 10/11.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  reinterpret_cast<std::vector<UINT_PTR>*>(list)->push_back(
      IS_INTRESOURCE(name) ? reinterpret_cast<UINT_PTR>(name) : 0);
  return TRUE;
}

class ManifestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test runs in the folder the program is built into.
    module_ = LoadLibraryExA("Glimora.scr", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << "Glimora.scr beside the test: " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::vector<UINT_PTR> Ids() const {
    std::vector<UINT_PTR> ids;
    EnumResourceNamesA(module_, MAKEINTRESOURCEA(24), CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
  }

  std::string Text() const {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (!found) return "";
    HGLOBAL data = LoadResource(module_, found);
    const char* bytes = static_cast<const char*>(LockResource(data));
    return bytes ? std::string(bytes, SizeofResource(module_, found)) : "";
  }

  HMODULE module_ = nullptr;
};

TEST_F(ManifestTest, OneManifestUnderTheIdAProgramStartReads) {
  const std::vector<UINT_PTR> ids = Ids();
  ASSERT_EQ(ids.size(), 1u) << "a second manifest would leave it to chance which one counts";
  EXPECT_EQ(ids[0], 1u);
}

TEST_F(ManifestTest, PerMonitorAwareWithTheOlderSettingForEarlierSystems) {
  const std::string text = Text();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                      "PerMonitorV2, PerMonitor</dpiAwareness>"),
            std::string::npos);
  EXPECT_NE(text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                      "true/pm</dpiAware>"),
            std::string::npos);
}

TEST_F(ManifestTest, VisualStylesAndEverySystemUpToWindows11) {
  const std::string text = Text();
  EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
  for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",    // Vista
                         "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // 7
                         "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    // 8
                         "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    // 8.1
                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // 10 and 11
    EXPECT_NE(text.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
}

// The activation context of Glimora.scr's manifest, from the built file
// beside the test; INVALID_HANDLE_VALUE when the system refuses it.
HANDLE ScrActivationContext() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string scr(path);
  scr = scr.substr(0, scr.find_last_of("\\/") + 1) + "Glimora.scr";
  ACTCTXA ctx = {};
  ctx.cbSize = sizeof ctx;
  ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  ctx.lpSource = scr.c_str();
  ctx.lpResourceName = MAKEINTRESOURCEA(1);
  return CreateActCtxA(&ctx);
}

TEST_F(ManifestTest, TheSystemAcceptsItAsAnActivationContext) {
  // A manifest the loader cannot parse stops the program before main.
  HANDLE handle = ScrActivationContext();
  ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "the system refused the manifest: " << GetLastError();
  ReleaseActCtx(handle);
}

}  // namespace

// The version 6 controls the manifest brings keep their text in Unicode; a
// long Shift-JIS entry must come back whole (Wine's own ANSI conversion of
// such a read once broke the heap at about 512 characters).
#include "forms/Application.h"
#include "forms/ComboBox.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/ListBox.h"

namespace {

class VersionSixForm : public forms::Form {
 public:
  VersionSixForm() : Form("TVersionSixTestForm", "VersionSixTestForm") {
    Create();
    forms::CreateControls({
        {List, "", 0, 0, 300, 100},
        {Combo, "", 0, 110, 300, 0},
        {Text, "", 0, 140, 300, 24},
    });
  }
  forms::ListBox List{*this, "List"};
  forms::ComboBox Combo{*this, "Combo"};
  forms::Edit Text{*this, "Text"};
};

TEST(VersionSixControls, LongShiftJisTextsComeBackWhole) {
  forms::Application::Get().Initialize(GetModuleHandleA(nullptr));
  HANDLE actCtx = ScrActivationContext();
  ASSERT_NE(actCtx, INVALID_HANDLE_VALUE);
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(actCtx, &cookie));
  {
    VersionSixForm form;
    std::string text = "C:\\";
    for (int i = 0; i < 100; ++i) text += "フォルダ" + std::to_string(100 + i) + "\\";
    text += "x.bmp";
    ASSERT_GT(text.size(), 1100u);
    ASSERT_TRUE(IsWindowUnicode(form.List.Handle())) << "the version 6 list box";
    form.List.Add(text);
    form.List.Add("短い");
    form.Combo.Add(text);
    form.Text.SetText(text);
    EXPECT_EQ(form.List.Item(0), text);
    EXPECT_EQ(form.List.Item(1), "短い");
    EXPECT_EQ(form.Combo.Item(0), text);
    EXPECT_EQ(form.Text.Text(), text);
    EXPECT_EQ(form.List.Item(5), "");
  }
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(actCtx);
}

}  // namespace
