#pragma once
// Every text the tool shows the user, in one place. Sources are UTF-8; the compiler turns
// these literals into Shift-JIS.

// Captions
inline constexpr char kCaptionWarning[] = "警告";
inline constexpr char kCaptionError[] = "エラー";
inline constexpr char kCaptionOverwrite[] = "情報ファイルの上書き";
inline constexpr char kCaptionDone[] = "完了";

// Operating-system check
inline constexpr char kMessageWin31Unsupported[] = "Windows 3.1は動作保証外です！";
inline constexpr char kMessageWin95Unsupported[] = "Windows95は動作保証外です！";
inline constexpr char kMessageNtUnsupported[] = "Windows NTは動作保証外です！";
inline constexpr char kMessageUnknownOs[] = "OSが判別できません！";

// Set command
inline constexpr char kMessageNoGameFolder[] = "インストール先が設定されていません！";
inline constexpr char kMessageAskOverwrite[] =
    "既にインストール情報ファイルが存在します\n上書きしますか？";
inline constexpr char kMessageWriteFailed[] = "インストール情報ファイルを書き込めませんでした！";
inline constexpr char kMessageSetDone[] = "インストール情報ファイルを設定しました";

// Program entry
inline constexpr char kMessageLowColourDepth[] =
    "本製品は、256色モードには対応しておりません。\n"
    "ハイカラー(16ビット)か、フルカラー(24ビット以上)に設定して下さいますようお願いいたします。";

// Settings dialog
inline constexpr char kPromptChooseGameFolder[] = "ゲームをインストールしたフォルダを選択して下さい";
inline constexpr char kMessageFolderTooLong[] = "選択したフォルダのパスが長すぎます！";
