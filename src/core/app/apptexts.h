#pragma once

#include <QString>

// Names and texts of start-up, the data root and close-down, each once.
namespace AppTexts {
using namespace Qt::StringLiterals;

inline const QString ApplicationTitle = u"Kavuno"_s;
// Folders of the data root.
inline const QString ResumeFolderName = u"00_RESUME"_s;
inline const QString DailyReportFolderName = u"00_日報の保存"_s;
// The daily report page of a folder, and the ending that marks one.
inline const QString DailyReportPage = u"日報.html"_s;
inline const QString DailyReportEnding = u"_日報.html"_s;
inline const QString DailyReportDateFormat = u"yyyyMMdd"_s;
// Companions of a page: its note and its sound.
inline const QString NoteExtension = u".%xt"_s;
inline const QString SoundExtension = u".wav"_s;
inline const QString HistoryPath = u"$history\\history"_s;
inline const QString HelpPageName = u"_help.html"_s;
// The home button's hint follows the program's name.
inline const QString BackToSuffix = u"に戻る"_s;
// The import menu item: "文書を選んで「" + folder + "」の中に保存".
inline const QString ImportCaptionStart = u"文書を選んで「"_s;
inline const QString ImportCaptionEnd = u"」の中に保存"_s;
// Asked before an import replaces files of the folder: "「a」\n「b」".
inline const QString ImportReplaceQuestion =
    u"「%1」\nと同じ名前のファイルがもうあります。置き換えますか？\n今のファイルはごみ箱に移します。"_s;
// The caption and flash text of the end.
inline const QString EndText = u"終"_s;
inline const QString DataRootUnusable = u"データのフォルダ「%1」を作ることも読むこともできません。"_s;
// Why a file was not written.
inline const QString WriteToLinkRefused = u"「%1」はほかのファイルへのリンクなので、書き込みません。"_s;
inline const QString WriteOutOfRootRefused = u"「%1」はデータの保存場所の外にあるので、書き込みません。"_s;
} // namespace AppTexts
