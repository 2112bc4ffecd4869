#pragma once

#include <QString>

// Captions, hints and markers of the search window and the keyword links, each once.
namespace SearchTexts {
using namespace Qt::StringLiterals;

// The file menu item that opens the search window.
inline const QString FindItem = u"検索"_s;
inline const QString FindItemHint = u"開いているフォルダ内を検索する"_s;

// The search window.
inline const QString AllButton = u"全部"_s;
inline const QString FullTextButton = u"全文検索"_s;
inline const QString FullTextHint = u"ページのテキストを検索"_s;
inline const QString UndoButton = u"１つ前"_s;
inline const QString UndoHint = u"検索結果を取り消す"_s;
inline const QString ListButton = u"一覧"_s;
inline const QString ListHint = u"検索結果一覧からタブを作る"_s;
inline const QString BackButton = u"戻る"_s;
inline const QString BackHint = u"閉じる"_s;
inline const QString StartHint = u"登録された環境で起動する"_s;
inline const QString QueryHint = u"半角 / でOR検索"_s;
inline const QString ResultsHint = u"検索結果"_s;
inline const QString Sorting = u"ソート中!!"_s;

// The walk's file rules.
inline constexpr char NotFindMarker[] = "NOTFIND";
inline const QString ExcludedRootFolder = u"MWEX/"_s;

// Query separators: the full-width one wins when the query holds it.
inline const QString WideSeparator = u"／"_s;
inline const QString NarrowSeparator = u"/"_s;

// Keyword links.
inline const QString LookLinkOpen = u"<A href=\"/$LOOK "_s;
inline const QString LookLinkStart = u"<A HREF=\"/$LOOK"_s;
inline const QString LookAutoItem = u"LOOK自動リンク"_s;
inline const QString LookRemoveItem = u"LOOKの削除"_s;
inline const QString UnreadablePage = u"「%1」を読めません。"_s;
inline const QString UndecodablePage = u"「%1」は UTF-8 として読めないため、書き換えません。"_s;
inline const QString WriteFailed = u"「%1」に書き込めませんでした。"_s;
inline const QString PageBusy = u"ほかのパソコンが「%1」に書き込み中です。少し待ってからもう一度試してください。"_s;
inline const QString LinksStopped = u"「%1」はこれ以上リンクを作ると大きくなりすぎるため、途中までリンクを作りました。"_s;
inline const QString LinksUnread = u"「%1」はタグが多すぎて読めないため、リンクを作りませんでした。"_s;
inline const QString LinksNotRemoved
    = u"「%1」はタグが多すぎて読めないため、LOOK自動リンクが書いた形でないリンクは削除できませんでした。"_s;
inline const QString PageChanged = u"「%1」はリンクを作る間に書き換えられたため、書き込みませんでした。もう一度試してください。"_s;
} // namespace SearchTexts
