#pragma once

#include <QString>

// Captions, hints and messages of the page menu and the folder tools, each once.
namespace ToolsTexts {
using namespace Qt::StringLiterals;

// The page menu's rows.
inline const QString EditPage = u"ページの編集"_s;
inline const QString EditWithApp = u" でページの編集"_s;
inline const QString CopyPage = u"ページのコピー"_s;
inline const QString PostToPage = u"ページに投稿"_s;
inline const QString ReorderPages = u"ボタン順変更"_s;
inline const QString RenameNumbered = u"ファイル名をPage(数)に変更"_s;
inline const QString DeletePage = u"ページ削除"_s;
inline const QString RemoveUnlinked = u"LINK切れ削除"_s;
inline const QString AddLookLinks = u"LOOK自動リンク"_s;
inline const QString RemoveLookLinks = u"LOOKの削除"_s;
inline const QString PrintNameField = u"名前欄をつけて(　)印刷"_s;
inline const QString PrintNameFieldRed = u"名前欄をつけて(赤解)印刷"_s;
inline const QString PrintResume = u"サムネイルRESUMEを印刷"_s;
inline const QString PrintPage = u"ページの印刷"_s;
inline const QString PrintWithApp = u" でページを印刷"_s;
inline const QString Help = u"ヘルプ"_s;
// The program a document other than an own page opens in.
inline const QString AppRegistered = u"登録アプリ"_s;
inline const QString AppIchitaro = u"一太郎"_s;
inline const QString AppWord = u"ワード"_s;
inline const QString AppExcel = u"エクセル"_s;
// Shortcut files in a folder: the Windows kind and the desktop entries of this system.
inline const QString ShortcutExtension = u".lnk"_s;
inline const QString DesktopEntryExtension = u".desktop"_s;
inline const QString OwnPageExtension = u".html"_s;

inline const QString EditMenuHint = u"編集メニュー"_s;
} // namespace ToolsTexts
