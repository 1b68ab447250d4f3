// What the executable carries besides its dialog: icon, version information and manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tool_fixture.h"

namespace {

class ToolResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(ToolPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << ToolPath();
  }
  void TearDown() override { FreeLibrary(module_); }

  std::string Resource(LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(module_, name, type);
    if (found == nullptr) return "";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(bytes, SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

TEST_F(ToolResources, CarryAnIconInTwoSizes) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(1));
  ASSERT_GE(group.size(), 6u);
  EXPECT_EQ(group[4], 2) << "icon images";
}

TEST_F(ToolResources, NameTheProductInJapaneseAndItsVersion) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(ToolPath().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(ToolPath().c_str(), 0, size, &block[0]));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\ProductName",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, "Zorvel インストール設定ツール");
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\FileVersion",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, ZV_PROJECT_VERSION);
}

TEST_F(ToolResources, AskForCommonControls6AdministratorRightsAndHighDpi) {
  const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"" ZV_PROJECT_VERSION "\""), std::string::npos);
  EXPECT_NE(manifest.find("SMI/2005/WindowsSettings\">true</dpiAware>"), std::string::npos);
}

}  // namespace
