#pragma once

#include <QString>

// Texts of the order dialog, the renumber dialog and their operations, each once.
namespace OrderTexts {
using namespace Qt::StringLiterals;

// The order dialog.
inline const QString OrderCaption = u"順番の変更"_s;
inline const QString MoveButton = u" 移 動"_s;
inline const QString MoveHint = u"移動して終える"_s;
inline const QString CloseButton = u"閉じる"_s;
inline const QString CloseHint = u"移動しないで終える"_s;
inline const QString StripButton = u"順番数字_\u3000の削除"_s;
inline const QString StripHint = u"ファイル名につけた数字を削除する"_s;
inline const QString AskStrip = u"数字_ を削除していいですか？"_s;
// Any of the three operations.
inline const QString FilesKept =
    u"次のファイルは、書き換えられないページ（文字コードを読み取れないページ、書き込めないページ）が使っているため、名前を変えていません。"_s;
inline const QString FilesKeptFor = u"使っているページ:"_s;
inline const QString PagesNotWritten = u"次のページを書き込めませんでした。\n%1"_s;
inline const QString RenameUnfinished =
    u"次のページを書き込めなかったため、ファイル名の変更はまだ終わっていません。ページを書き込めるようにして"
    "（ディスクの空きを作る、書き込みを許可する）からこのフォルダを開き直すと、変更が仕上がります。"_s;
inline const QString RenameStillUnfinished =
    u"このフォルダの前回のファイル名の変更が、次のページを書き込めないため終わっていません。ページを書き込めるように"
    "してからフォルダを開き直し、もう一度操作してください。"_s;
inline const QString PagesLeftNaming =
    u"次のページは文字コードを読み取れない（またはタグが多すぎる）ため書き換えられず、名前を変えたファイルを元の名前で指したままです。"_s;
// One page and a file it names: "page: old name → new name".
inline const QString PageNamesFileLine = u"%1: %2 → %3"_s;
inline const QString LevelChanged =
    u"このフォルダのページが、表示していた一覧から変わっていました（別のパソコンが変更したようです）。"
    "一覧を読み直したので、確かめてからもう一度操作してください。"_s;
// What changed, listed under LevelChanged.
inline const QString PageGone = u"なくなったページ: %1"_s;
inline const QString PageAdded = u"増えたページ: %1"_s;
inline const QString PageOrderChanged = u"ページの並び順が変わりました。"_s;
inline const QString FolderUnreadable = u"フォルダを読めません。"_s;
inline const QString FinishingRename = u"ほかのフォルダのページを書き換えています… %1 ページ"_s;
// What the rename worker does, shown in a corner of the main window.
inline const QString RenamingFolder = u"「%1」のファイル名を変更しています…"_s;
inline const QString RenameWaitsForFolder = u"「%1」のファイル名の変更は、ほかの変更が終わるのを待っています"_s;
inline const QString FinishingLeftRename = u"前回終わらなかった「%1」のファイル名の変更を仕上げています…"_s;
inline const QString RenameQueued = u"「%1」のファイル名の変更は、前の変更が終わるのを待っています"_s;
inline const QString StopQueuedRename = u"この変更をやめる"_s;
// The program closes while renames are under way or waiting.
inline const QString RenameLeftAtClose =
    u"ファイル名の変更の途中で終了します。次のフォルダの残りは、次にこのプログラムを起動したときに"
    "（どのパソコンで起動しても）仕上げます。"_s;
inline const QString RenamesNotMade = u"次のフォルダのファイル名の変更は、始まる前だったので行いません。"_s;
inline const QString RecordNotWritten = u"このフォルダに作業の記録を書き込めないため、ファイル名を変更しませんでした。"_s;
inline const QString FolderBusy =
    u"別のパソコンがこのフォルダのファイル名を変更しています。終わるまで待ちますか？\n（「いいえ」で変更をやめます）"_s;
inline const QString FolderBusyHere =
    u"このプログラムが、このフォルダのファイル名の変更をまだ続けています。終わるまで待ちますか？\n（「いいえ」で変更をやめます）"_s;
// What a rename waits for while another holds the folder.
inline const QString WaitedForPc = u"待っているもの: パソコン「%1」が続けている、このフォルダのファイル名の変更"_s;
inline const QString WaitedForAnotherPc = u"待っているもの: 別のパソコンが続けている、このフォルダのファイル名の変更"_s;
inline const QString WaitedForThisProgram =
    u"待っているもの: このプログラムが続けている、このフォルダのファイル名の変更（ページの書き換え）"_s;
inline const QString WaitingForFolder = u"このフォルダのファイル名の変更が終わるのを待っています。\n%1"_s;
inline const QString StopWaiting = u"待つのをやめる"_s;
// Shown briefly as a half-renamed folder is opened.
inline const QString FolderHalfRenamed = u"このフォルダは、ファイル名の変更の途中です。\n%1"_s;
inline const QString WaitedForPcBrief = u"パソコン「%1」の作業を待っています"_s;
inline const QString WaitedForAnotherPcBrief = u"別のパソコンの作業を待っています"_s;
// The lock or the record could not be written.
inline const QString RenameDiskFull =
    u"ディスクがいっぱいのため、このフォルダに作業の記録を書き込めません。ファイル名を変更しませんでした。"_s;
inline const QString RenameNotAllowed =
    u"このフォルダに書き込む権限がないため、作業の記録を書き込めません。ファイル名を変更しませんでした。"_s;
inline const QString StripFailed = u"次のファイルの名前を変更できませんでした。\n%1"_s;

// The renumber dialog.
inline const QString RenumberCaption = u"ファイル名の変更"_s;
inline const QString RenumberHeading = u"（\u3000）の数字を増加数で変更"_s;
inline const QString NameLabel = u"変更名"_s;
inline const QString StartLabel = u"数字"_s;
inline const QString StepLabel = u"増加数"_s;
inline const QString DigitsLabel = u"桁数"_s;
inline const QString FirstLabel = u"変更開始ボタン"_s;
inline const QString LastLabel = u"変更終了ボタン"_s;
inline const QString ThisPageButton = u"このページだけ変更"_s;
inline const QString OkButton = u"OK"_s;
inline const QString CancelButton = u"キャンセル"_s;
inline const QString DefaultName = u"page"_s;
inline const QString DefaultStart = u"100"_s;
inline const QString DefaultStep = u"1"_s;
inline const QString DefaultDigits = u"3"_s;
inline const QString HiddenName = u"「%1」は「.」で始まるため、ページが隠れてしまいます。別の名前にしてください。"_s;
inline const QString RefusedName =
    u"「%1」には \" ' < > / \\ $ のどれか、または制御文字が含まれているため、ファイル名にできません。"_s;
inline const QString NameTooLong = u"「%1」では長すぎて、ファイル名にできません。短い名前にしてください。"_s;
inline const QString InvalidNumber = u"「%1」は正しい数字ではありません。"_s;

// Levels of search results and keyword links list pages of several folders.
inline const QString NotAFolderLevel =
    u"この一覧はフォルダのページ一覧ではないので、ファイル名を変更できません。フォルダを開き直してから使ってください。"_s;
} // namespace OrderTexts
