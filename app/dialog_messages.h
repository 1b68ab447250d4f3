#pragma once
// Texts the entry and the settings dialog show. Sources are UTF-8; the compiler turns these
// literals into Shift-JIS.

inline constexpr char kDialogCaptionError[] = "エラー";

inline constexpr char kMessageLowColourDepth[] =
    "本製品は、256色モードには対応しておりません。\n"
    "ハイカラー(16ビット)か、フルカラー(24ビット以上)に設定して下さいますようお願いいたします。";

inline constexpr char kPromptChooseGameFolder[] = "ゲームをインストールしたフォルダを選択して下さい";
inline constexpr char kMessageFolderTooLong[] = "選択したフォルダのパスが長すぎます！";
