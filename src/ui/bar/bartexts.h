#pragma once

#include <QString>

// The bottom bar's hints and the captions of the folder-panel buttons.
namespace BarUiText {
inline const QString BackHint = QStringLiteral("戻る");
inline const QString ForwardHint = QStringLiteral("進む");
inline const QString RefreshHint = QStringLiteral("ブラウザのリフレッシュ");
inline const QString FolderPanelOpen = QStringLiteral("フォルダ");
inline const QString FolderPanelClose = QStringLiteral("閉じる");
inline const QString ColumnOpenHint = QStringLiteral("ボタン");
inline const QString ColumnCloseHint = QStringLiteral("ボタンを閉じる");
inline const QString NoteHint = QStringLiteral("このページのメモ");
} // namespace BarUiText
