#pragma once

#include <QString>

// Names and texts of folder levels and page lists, each once.
namespace NavigationTexts {
using namespace Qt::StringLiterals;

// A page name holding this comes first in a level.
inline const QString IndexWord = u"index"_s;
// Companion files (placeholder pages, backups, drawings, help) start with this.
inline const QString HiddenPrefix = u"_"_s;
// Pages that declare this code page are converted to UTF-8 once.
inline const QString ShiftJisName = u"SHIFT_JIS"_s;
inline const QString Utf8Name = u"UTF-8"_s;
// Shown in place of a page too large to show, after its name.
inline const QString PageTooLarge = u"このページは大きすぎるため表示しません"_s;
inline const QString Bytes = u" バイト"_s;
// Shown in place of a page that leads out of the data root (a link to another file), after its name.
inline const QString PageOutsideRoot = u"このページはデータの保存場所の外にあるファイルを指しているため表示しません"_s;
// Flashed when a page pressed was gone and its folder was read again.
inline const QString FolderChanged = u"ほかのPCでフォルダの中身が変わりました"_s;
// Shown in place of a page that is gone (renamed or removed by another PC), after its name.
inline const QString PageGone = u"このページは見つかりません。ほかのPCで名前が変わったか、削除されました"_s;
// Flashed when a folder that leads out of the data root is not opened.
inline const QString FolderOutsideRoot = u"このフォルダはデータの保存場所の外にあるため開きません"_s;
} // namespace NavigationTexts
