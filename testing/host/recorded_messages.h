#pragma once
// The message boxes the tool shows, spelled out here independently of app/logic/messages.h, and a
// check of what a host recorded against them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/fake_host.h"

inline const char kWin31Warning[] = "Windows 3.1は動作保証外です！";
inline const char kWin95Warning[] = "Windows95は動作保証外です！";
inline const char kNtWarning[] = "Windows NTは動作保証外です！";
inline const char kUnknownOs[] = "OSが判別できません！";
inline const char kNoFolder[] = "インストール先が設定されていません！";
inline const char kAsk[] = "既にインストール情報ファイルが存在します\n上書きしますか？";
inline const char kFailed[] = "インストール情報ファイルを書き込めませんでした！";
inline const char kDone[] = "インストール情報ファイルを設定しました";

// Each text with its caption and buttons, all owned by kDialog, in the order shown.
inline void ExpectMessages(const std::vector<MessageBoxCall>& calls,
                           const std::vector<std::string>& texts) {
  struct Box {
    const char* text;
    const char* caption;
    UINT type;
  };
  static const Box kBoxes[] = {
      {kWin31Warning, "警告", MB_OK | MB_ICONWARNING},
      {kWin95Warning, "警告", MB_OK | MB_ICONWARNING},
      {kNtWarning, "警告", MB_OK | MB_ICONWARNING},
      {kUnknownOs, "警告", MB_OK | MB_ICONERROR},
      {kNoFolder, "エラー", MB_ICONERROR},
      {kAsk, "情報ファイルの上書き", MB_YESNO | MB_ICONINFORMATION},
      {kFailed, "エラー", MB_ICONERROR},
      {kDone, "完了", MB_OK},
  };
  ASSERT_EQ(calls.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(calls[i].owner, kDialog);
    EXPECT_EQ(calls[i].text, texts[i]);
    for (const Box& box : kBoxes) {
      if (texts[i] != box.text) continue;
      EXPECT_EQ(calls[i].caption, box.caption) << box.text;
      EXPECT_EQ(calls[i].type, box.type) << box.text;
    }
  }
}
