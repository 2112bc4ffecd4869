#pragma once

#include "core/pages/markers.h"

#include <QString>

// Stored marks and user texts of posting and the answer sheet, each once.
namespace FormTexts {
using namespace Qt::StringLiterals;

// ---- post blocks inside a page
inline const QString &PostMark = Markers::PostMark;
inline const QString PosterSeparator = u"："_s;
inline const QString PostTerminator = u"---.<BR>"_s;
inline const QString PostTerminatorText = u"---."_s;
// A typed "---." keeps its look but is no terminator.
inline const QString PostTerminatorEscaped = u"---&#46;"_s;
// A typed post mark keeps its look but starts no post.
inline const QString PostMarkEscaped = u"(^0^&#41;"_s;

// ---- the post dialog
inline const QString PromptStart = u"「 "_s;
inline const QString PromptEnd = u" 」 のページの中に投稿"_s;
inline const QString DateLabel = u"日 時"_s;
inline const QString PosterLabel = u"投稿者"_s;
inline const QString PostButton = u"投稿"_s;
inline const QString PostHint = u"ページの中に書き込みします。"_s;
inline const QString CancelButton = u"キャンセル"_s;
inline const QString CancelHint = u"投稿を中止する。"_s;
inline const QString RefreshDateButton = u"日時の更新"_s;
inline const QString PostButtonHint = u"ページの中に10件まで投稿（11以降は自動削除）"_s;
inline const QString EmptyMessage = u"投稿文がないと投稿できません。"_s;
inline const QString PostBusy = u"ほかのパソコンがこのページに書き込み中です。少し待ってからもう一度投稿してください。"_s;
inline const QString PostNoPlace = u"このページには投稿する場所がありません。"_s;
inline const QString PostNoParagraph =
    u"このページには、スクリプトやコメントの外に段落（<P>）がないため、投稿できません。"_s;
inline const QString PostTooMuchMarkup = u"このページはタグが多すぎるため、投稿できません。"_s;
inline const QString PostUndecodable = u"このページの文字コードが読めないため、投稿できません。"_s;
inline const QString PostFailed = u"投稿を書き込めませんでした。"_s;

// ---- the answer sheet
inline const QString AnswerSheetTitle = u"アンケート回答"_s;
inline const QString WriteAnswersButton = u"回答の書き込み"_s;
inline const QString WriteAnswersHintEnd = u"に保存"_s;
inline const QString StopButton = u"中止する"_s;
inline const QString StopHint = u"書き込みを中止して閉じる"_s;
inline const QString AnswerInstruction = u"[  ]の中に書いて、回答の書き込みボタンを左クリックしてください。"_s;
inline const QString AnswersWritten = u"書き込み終了"_s;
inline const QString AnswerBusy = u"ほかのパソコンが回答を書き込み中です。少し待ってからもう一度書き込んでください。"_s;
inline const QString AnswerFailed = u"回答を書き込めませんでした。"_s;
// %1 the answer file's name, %2 what stands there (a kind below).
inline const QString AnswerFileNotAFile = u"回答のファイル「%1」はファイルではありません（%2）。"_s;
// %1 the answer file's name: a hard link, so a write in place would change another file too.
inline const QString AnswerFileHasOtherNames =
    u"回答のファイル「%1」はほかの名前（ハードリンク）も持つため、書き込みません。"_s;

inline const QString PageUnreadable = u"ページを読めませんでした。"_s;

// ---- the shared lock beside a page or an answer file
// %1 the lock's name, %2 what stands there (a kind below): no copy can take the lock until it is removed.
inline const QString LockNameTaken = u"ロックの名前「%1」にファイルではないもの（%2）があります。それを取り除いてください。"_s;
// What stands at a name where a plain file belongs.
inline const QString KindFolder = u"フォルダー"_s;
inline const QString KindLink = u"リンク"_s;
inline const QString KindFifo = u"名前付きパイプ（FIFO）"_s;
inline const QString KindDevice = u"デバイス"_s;
inline const QString KindSocket = u"ソケット"_s;
inline const QString KindOther = u"特殊なファイル"_s;
} // namespace FormTexts
