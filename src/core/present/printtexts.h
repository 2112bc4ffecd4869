#pragma once

#include <QString>

// The fixed texts of the print pages and of printing, each once.
namespace PrintText {
using namespace Qt::StringLiterals;

// The print pages inside the print folder.
inline const QString ResumePageName = u"resumeE.html"_s;
inline const QString TestPageName = u"test.html"_s;
inline const QString ResumeTitle = u"RESUME"_s;
inline const QString ThumbnailPrefix = u"_"_s;
inline const QString ThumbnailExtension = u".jpg"_s;

// The worksheet's header: a one-row table with the title, class and number, and the name.
inline const QString HeaderStart =
    u"<CENTER><TABLE border=\"1\" width=\"640\"><TBODY><TR><TD height=\"71\" align=\"center\"><FONT size=\"3\">"_s;
inline const QString HeaderTitleEnd = u"</FONT></TD>"_s;
inline const QString HeaderClass =
    u"<TD height=\"71\" width=\"170\" align=\"right\"><FONT size=\"3\">年　　　組　　　番</FONT></TD>"_s;
inline const QString HeaderName = u"<TD height=\"71\" width=\"300\"><FONT size=\"3\">氏名</FONT></TD>"_s;
inline const QString HeaderEnd = u"</TR></TBODY></TABLE></CENTER>"_s;

// Answers printed into their blanks.
inline const QString RedAnswerStart = u"(<FONT color=\"#ff0000\">"_s;
inline const QString RedAnswerEnd = u"</FONT>)"_s;
inline constexpr QChar BlankSpace = u'\u3000';

// "[]" marks of a worksheet get a number.
inline const QString EmptyNumberMark = u"[]"_s;
inline const QString FirstNumberMark = u"[1]"_s;

// A worksheet that cannot be made, and a print page the browser could not load.
inline const QString PrintTitle = u"印刷"_s;
inline const QString CannotReadPage = u"このページは読めないので印刷できません:\n%1"_s;
inline const QString CannotWriteSheet = u"印刷用のページを書けませんでした:\n%1"_s;
inline const QString PrintPageNotLoaded = u"印刷用のページを開けませんでした。もう一度印刷してください:\n%1"_s;

// A summary of an empty level.
inline const QString NothingToJoin = u"合体するページがありません。"_s;
inline const QString MakeCheckedTags = u"チェックボタンでチェック入りタグを作ってください。"_s;
} // namespace PrintText
