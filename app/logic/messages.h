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

// Command line
inline constexpr char kCaptionUsage[] = "Zorvel インストール設定ツール";
inline constexpr char kMessageUsage[] =
    "使い方:\n"
    "ZorvelSetup.exe [/title:タイトル] [/folder:フォルダ] [/mode:standard|all] "
    "[/silent [/overwrite]]\n"
    "\n"
    "/title:\tTarnwick、Oxbellow、Quillane のどれか\n"
    "/folder:\tゲームをインストールしたフォルダ (空白を含むときは \"\" で囲む)\n"
    "/mode:\tstandard (標準、省略時) か all (全て)\n"
    "/silent\t何も表示せずにインストール情報ファイルを書き込む (/title と /folder が必要)\n"
    "/overwrite\t/silent のとき、既にあるインストール情報ファイルを上書きする\n"
    "/?\tこの説明を表示する\n"
    "\n"
    "/silent を付けないときは、指定した値を選んだ状態で設定画面を開きます。\n"
    "\n"
    "終了コード:\n"
    "0\t書き込んだ (/silent なしでは正常終了)\n"
    "1\tコマンドラインが正しくない\n"
    "2\tフォルダが存在しないか、パスが長すぎる\n"
    "3\tインストール情報ファイルが既にある (/overwrite なし)\n"
    "4\tインストール情報ファイルを書き込めなかった";
inline constexpr char kMessageUnknownSwitch[] = "使えないスイッチです: ";
inline constexpr char kMessageMissingValue[] = "値が指定されていません: ";
inline constexpr char kMessageBadValue[] = "値が正しくありません: ";
inline constexpr char kMessageSilentIncomplete[] = "/silent には /title と /folder が必要です";
inline constexpr char kMessageFolderNotFound[] =
    "指定されたフォルダが存在しないか、パスが長すぎます！";
