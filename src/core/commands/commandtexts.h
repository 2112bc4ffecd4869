#pragma once

#include <QString>

// The words of the link command language and the texts the commands show or
// store, each once. Words are compared case-sensitively ("DIR" and "dir" differ).
namespace CommandWords {
inline const QString Next = QStringLiteral("NEXT");
inline const QString Back = QStringLiteral("BACK");
inline const QString Top = QStringLiteral("TOP");
inline const QString Home = QStringLiteral("HOME");
inline const QString Go = QStringLiteral("GO");
inline const QString GoSub = QStringLiteral("GOSUB");
inline const QString Return = QStringLiteral("RETURN");
inline const QString Look = QStringLiteral("LOOK");
inline const QString Answer = QStringLiteral("ANSWER");
inline const QString DirLevel = QStringLiteral("DIR");
inline const QString DirExplore = QStringLiteral("dir");
inline const QString Wav = QStringLiteral("WAV");
inline const QString Paint = QStringLiteral("PAINT");
inline const QString Save = QStringLiteral("SAVE");
inline const QString Copy = QStringLiteral("COPY");
inline const QString Js = QStringLiteral("JS");
inline const QString HisJs = QStringLiteral("HISJS");
inline const QString His = QStringLiteral("HIS");
} // namespace CommandWords

namespace CommandTexts {
// Replaced by the desktop folder inside a command.
inline const QString Desktop = QStringLiteral("DESKTOP");
// A program whose path holds this is waited for.
inline const QString WaitMarker = QStringLiteral(".EXE");
// The value that deletes a variable file.
inline const QString DeleteValue = QStringLiteral("DEL");
// The history file before the first HIS, relative to the current folder, without extension.
inline const QString InitialHistoryPath = QStringLiteral("$history/history");
// The folder of the history files inside the current folder.
inline const QString HistoryFolder = QStringLiteral("history");
inline const QString HistoryExtension = QStringLiteral(".txt");
// A history page's file name holds this (upper-cased).
inline const QString HistoryPageMarker = QStringLiteral("HISTORY");
// The history name used when HIS names nobody.
inline const QString DefaultHistoryName = QStringLiteral("NAME");
inline const QString ScriptSrc = QStringLiteral("SCRIPT SRC=\"");
// The lower-pane search falls back to this heading.
inline const QString OtherHeading = QStringLiteral("【その他】");
// Download progress in the caption: the byte count, then this.
inline const QString DownloadProgress = QStringLiteral(" Byte 完了しました。");
inline const QString WebScheme = QStringLiteral("http://");
// Flash messages after the file name: a variable file that exists but cannot be
// read is kept as it is; one that could not go to the trash stays.
inline const QString VariableFileUnreadable = QStringLiteral(" を読めないため、書き換えませんでした。");
inline const QString CannotDelete = QStringLiteral(" を削除できませんでした。");
// Flash messages before the command or file.
inline const QString BadNumber = QStringLiteral("数値が正しくありません: ");
inline const QString CannotSave = QStringLiteral("保存できませんでした: ");
} // namespace CommandTexts
