#pragma once

#include <QString>

// The bottom bar's hints and the file menu's captions.
namespace BarUiText {
inline const QString BackHint = QStringLiteral("戻る");
inline const QString ForwardHint = QStringLiteral("進む");
inline const QString RefreshHint = QStringLiteral("ブラウザのリフレッシュ");
inline const QString FolderPanelOpen = QStringLiteral("フォルダ");
inline const QString FolderPanelClose = QStringLiteral("閉じる");
inline const QString ColumnOpenHint = QStringLiteral("ボタン");
inline const QString ColumnCloseHint = QStringLiteral("ボタンを閉じる");
inline const QString NoteHint = QStringLiteral("このページのメモ");
inline const QString PresentationItem = QStringLiteral("プレゼンテーションモード");
inline const QString SearchItem = QStringLiteral("検索");
inline const QString SearchHint = QStringLiteral("開いているフォルダ内を検索する");
inline const QString FolderListItem = QStringLiteral("フォルダの作成");
inline const QString FolderListHint = QStringLiteral("フォルダ名一覧から作成");
inline const QString NewPageMenu = QStringLiteral("新規ページ作成");
inline const QString NewPageHint = QStringLiteral("エディターで新規ページを書く");
inline const QString NewPageAbove = QStringLiteral("上に作成");
inline const QString NewPageBelow = QStringLiteral("下に作成");
} // namespace BarUiText
