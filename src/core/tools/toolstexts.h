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

// Copying, deleting and unlinked files.
inline const QString CopyFilters = u"全部 (*);;HTML (*.html);;一太郎 (*.jt* *.j?w)"_s;
inline const QString AskDeleteOriginal = u"元ファイルを削除しますか？"_s;
inline const QString DeleteCaption = u"HTMLファイルとリンクファイルを削除"_s;
inline const QString UnlinkedCaption = u"リンク切れファイルの削除"_s;
inline const QString NothingUnlinked = u"不用なファイルが見つかりません。"_s;
// File + "で" + line break + "href=" + the link's name + " 【外部リンク】があります。"
inline const QString CommandLinkIn = u"で"_s;
inline const QString CommandLinkHref = u"href="_s;
inline const QString CommandLinkNote = u" 【外部リンク】があります。"_s;
inline const QString AskOverwrite = u"「%1」はもうあります。上書きしますか？"_s;
inline const QString PageUnreadable = u"「%1」を読めないため、中止しました。"_s;

// The file tool.
inline const QString FileToolCaption = u"ファイルツール"_s;
inline const QString DeleteButton = u"ファイルの削除"_s;
inline const QString DeleteHint = u"ゴミ箱へ捨てる"_s;
inline const QString RenameButton = u"画像ファイル名変換"_s;
inline const QString RenameHint = u"連番で変換"_s;
inline const QString PrefixDefault = u"pic"_s;
inline const QString PrefixHint = u"変換後のファイル名"_s;
inline const QString CloseButton = u"閉じる"_s;
inline const QString CloseHint = u"片付けを止めて戻る"_s;
inline const QString NoPictures = u"対象とする画像ファイルが見つかりません。"_s;
// "画像ファイル名を " + prefix + "+数字に書き換えていいですか"
inline const QString AskRename = u"画像ファイル名を %1+数字に書き換えていいですか"_s;
inline const QString AskTrash = u"選んだ %1 個のファイルをごみ箱に移しますか？"_s;
inline const QString RenameFailed = u"「%1」の名前を変えられませんでした。"_s;
inline const QString PicturesKept =
    u"次の画像は、書き換えられないページ（文字コードを読み取れないページ、書き込めないページ）が使っているため、名前を変えていません。\n%1\n\n使っているページ:\n%2"_s;
inline const QString PrefixRefused =
    u"「%1」には \" ' < > / \\ $ のどれか、または制御文字が含まれているため、画像ファイル名にできません。名前を変えてください。"_s;
inline const QString PagesNotWritten = u"次のページを書き込めませんでした。\n%1"_s;
} // namespace ToolsTexts
