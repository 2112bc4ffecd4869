#pragma once

#include <QString>

// Names and user texts of the folder-name list and the folder copies, each once.
namespace FolderTexts {
using namespace Qt::StringLiterals;

inline const QString ListFileName = u"_folder.txt"_s;
inline const QString CommentMark = u"//"_s;
inline const QString DeskFolderName = u"【マイデスク】"_s;

// ---- the main window's items
inline const QString MenuItem = u"フォルダの作成"_s;
inline const QString MenuHint = u"フォルダ名一覧から作成"_s;
inline const QString DeskCopyHint = u"フォルダを自分のデスクトップ【マイデスク】に丸ごとコピー"_s;
inline const QString DeskCopyQuestion = u"「%1」のフォルダを丸ごと\rデスクトップ上の【マイデスク】にコピーします。"_s;
inline const QString DeskCopyIntoItself = u"「%1」のフォルダの中にはコピーできません。"_s;
inline const QString DeskCopyFailed = u"次のファイルはコピーできませんでした。\n%1"_s;
inline const QString DeskCopyProgress = u"【マイデスク】にコピー中..."_s;

// ---- the folder-name list window
inline const QString ListTitle = u"フォルダ名の一覧表"_s;
inline const QString PathReminder = u"フォルダ名\\フォルダ名\\フォルダ名"_s;
inline const QString CommentReminder = u"//--- 注釈---"_s;
inline const QString ReadButton = u"今のフォルダ名の取得"_s;
inline const QString ReadHint = u"今のフォルダ名を調べて一覧表示する"_s;
inline const QString SaveButton = u"一覧表の上書き保存"_s;
inline const QString SaveHint = u"_folder.txtの名前で保存"_s;
inline const QString CreateButton = u"フォルダ作成"_s;
inline const QString CreateHint = u"一覧表の名前でフォルダを作成"_s;
inline const QString CloseButton = u"  閉 じ る"_s;
inline const QString CloseHint = u"キャンセル"_s;
inline const QString AskOverwrite = u"_folder.txtを上書き保存します。"_s;
inline const QString AskCreate = u"一覧表の名前でフォルダを作成します。"_s;
inline const QString RefusedLines = u"次の行はデータのフォルダの外を指すため、作成しませんでした。\n%1"_s;
inline const QString SaveFailed = u"_folder.txtを保存できませんでした。\n%1"_s;
} // namespace FolderTexts
