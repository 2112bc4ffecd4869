#pragma once

#include <QString>

// Captions and hints of the main window, each once.
namespace UiTexts {
using namespace Qt::StringLiterals;

inline const QString StartButton = u"起動"_s;
inline const QString CopyButton = u"コピー"_s;
inline const QString CurrentFolderItem = u"今のフォルダ"_s;
inline const QString HelpItem = u"【Kavunoの使い方】"_s;
inline const QString ExitItem = u"終了"_s;
inline const QString FileMenuHint = u"[ファイル] 終了、ページの新規作成・・・"_s;
// The help pages beside the program, else the maker's help page.
inline const QString HelpFolderIndex = u"【使い方】/index.html"_s;
inline const QString HelpWebPage = u"https://kavuno.example.org/kavuno/index.html"_s;
inline const QString ImportDialogTitle = u"文書を選ぶ"_s;
inline const QString NoPositions = u"0 / 0"_s;
inline const QString PositionSeparator = u" / "_s;
inline const QString CannotOpenFile = u"そのファイルは開けません"_s;
inline const QString AskRecycle = u"「%1」をごみ箱に移しますか？"_s;
inline const QString CopyFailed = u"「%1」にコピーできませんでした。"_s;
inline const QString RecycleFailed = u"「%1」をごみ箱に移せませんでした。ファイルはそのまま残っています。"_s;
// The fonts of the page buttons and of the Windows pages, mapped once to the CJK fonts here.
inline const QString GothicFont = u"ＭＳ ゴシック"_s;
inline const QString PGothicFont = u"ＭＳ Ｐゴシック"_s;
inline const QString GothicSubstitute = u"Noto Sans Mono CJK JP"_s;
inline const QString PGothicSubstitute = u"Noto Sans CJK JP"_s;
// The open panel's copy: its hint, and the filters of the dialog that saves a
// copy of the offered file (its own type first: "csvファイル (*.csv)").
inline const QString CopyHint = u"このファイルをコピー"_s;
inline const QString OwnTypeFilter = u"%1ファイル (*.%1)"_s;
inline const QString BmpFilter = u"bmp画像 (*.bmp)"_s;
inline const QString JpegFilter = u"jpeg画像 (*.jpeg *.jpg)"_s;
// presentation mode
inline const QString PresentationModeItem = u"プレゼンテーションモード"_s;
} // namespace UiTexts
