#pragma once

#include <QString>

// Every marker and fixed text of the page format, each once and byte for byte:
// pages on the shared folder are read by other running copies, so none of these
// may change.
namespace Markers {

// Head of every page the program writes.
inline const QString DocType = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
inline const QString OwnPageMark = QStringLiteral("<!DOCTYPE HTML PUBLIC");
inline const QString HtmlStart = QStringLiteral("<HTML>");
inline const QString HtmlEnd = QStringLiteral("</HTML>");
inline const QString HeadStart = QStringLiteral("<HEAD>");
inline const QString HeadEnd = QStringLiteral("</HEAD>");
inline const QString BodyStart = QStringLiteral("<BODY>");
inline const QString BodyEnd = QStringLiteral("</BODY>");
inline const QString TitleStart = QStringLiteral("<TITLE>");
inline const QString TitleEnd = QStringLiteral("</TITLE>");
inline const QString AuthorMetaStart = QStringLiteral("<META NAME=\"author\" ");
inline const QString ContentTypeMeta = QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">");
inline const QString StyleTypeMeta = QStringLiteral("<META http-equiv=\"Content-Style-Type\" content=\"text/css\">");

// Tags the editor writes into the note block and reads back.
inline const QString LineBreakTag = QStringLiteral("<BR>");
inline const QString ParagraphStart = QStringLiteral("<P>");
inline const QString ParagraphEnd = QStringLiteral("</P>");
inline const QString LinkStart = QStringLiteral("<A href=\"");
inline const QString LinkEnd = QStringLiteral("</A>");

// The page-size tag (the author META's value with its attribute name).
inline const QString SizeTagRun = QStringLiteral("CONTENT=\"Kavuno_TEXT");
inline const QString SizeTagB4 = QStringLiteral("CONTENT=\"Kavuno_TEXT_B4\"");
inline const QString SizeTagA4 = QStringLiteral("CONTENT=\"Kavuno_TEXT_A4\"");
inline const QString SizeTagFit = QStringLiteral("CONTENT=\"Kavuno_TEXT_Fit\"");
inline const QString A4Mark = QStringLiteral("CONTENT=\"Kavuno_TEXT_A4");
inline const QString PrintPageMark = QStringLiteral("CONTENT=\"WORK_Kavuno");
inline const QString PrintAuthorValue = QStringLiteral("WORK_Kavuno_印刷");

// Editor text widths in pixels.
inline constexpr int PageWidthB4 = 906;
inline constexpr int PageWidthA4 = 686;

// Block markers.
inline const QString StyleInPrefix = QStringLiteral("<!--STYLE_IN");
inline const QString StyleInPlain = QStringLiteral("<!--STYLE_IN-->");
inline const QString StyleOut = QStringLiteral("<!--STYLE_OUT-->");
inline const QString HeddaIn = QStringLiteral("<!--HEDDA_IN-->");
inline const QString HeddaOut = QStringLiteral("<!--HEDDA_OUT-->");
inline const QString NoteIn = QStringLiteral("<!--NOTE_IN-->");
inline const QString NoteOut = QStringLiteral("<!--NOTE_OUT-->");
inline const QString FooterIn = QStringLiteral("<!--FOOTER_IN-->");
inline const QString FooterOut = QStringLiteral("<!--FOOTER_OUT-->");
inline const QString QuizBegin = QStringLiteral("<!--beginKavuno//-->");
inline const QString QuizEnd = QStringLiteral("<!--endKavuno//-->");
inline const QString AnswerBegin = QStringLiteral("<!--beginKavuno_ANSWER//-->");
inline const QString AnswerEnd = QStringLiteral("<!--endKavuno_ANSWER//-->");
// What the quiz reverse searches for: the common starts of the block markers.
inline const QString KavunoBeginRun = QStringLiteral("<!--beginKavuno");
inline const QString KavunoAnswerRun = QStringLiteral("<!--beginKavuno_ANSWER");
inline const QString KavunoEndRun = QStringLiteral("<!--endKavuno");

// The placeholder page shown while a folder operation works, and its status titles.
inline const QString ProgressPageName = QStringLiteral("_XXX.html");
inline const QString StatusNoPage = QStringLiteral("*** NO PAGE ***");
inline const QString StatusPresenting = QStringLiteral("*** 提案中 ***");
inline const QString StatusEditPreparing = QStringLiteral("--- 編集中 ---");
inline const QString StatusEditingOutside = QStringLiteral("*** 編集中 ***");
inline const QString StatusCopying = QStringLiteral("--- コピー中 ---");
inline const QString StatusChecking = QStringLiteral("--- チェック中 ---");
inline const QString StatusReordering = QStringLiteral("*** チェック中 ***");
inline const QString StatusDrawPreparing = QStringLiteral("*** 描画準備中 ***");

// Daily-report pages: their file name holds this word.
inline const QString DailyReportWord = QStringLiteral("日報");

// Title syntax: icon in double quotes, "#" second line, "?" hint.
inline constexpr QChar TitleIconQuote = u'"';
inline constexpr QChar TitleSecondLineMark = u'#';
inline constexpr QChar TitleHintMark = u'?';

// Quiz notation marks.
inline constexpr QChar QuizOpenMark = u'(';
inline constexpr QChar QuizAnswerMark = u'|';
inline constexpr QChar QuizChoiceMark = u'/';
inline constexpr QChar QuizCloseMark = u')';

// forms: the mark that starts every post inside a page (it is no quiz blank).
inline const QString PostMark = QStringLiteral("(^0^)");

} // namespace Markers
