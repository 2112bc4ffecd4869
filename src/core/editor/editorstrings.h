#pragma once

#include <QString>

// Texts of the editor window and its tools, each once.
namespace EditorStrings {

inline const QString WindowCaption = QStringLiteral("Kavunoエディター");

// Page size buttons.
inline const QString SizeA4 = QStringLiteral("A4サイズ");
inline const QString SizeB4 = QStringLiteral("B4サイズ");
inline const QString SizeFit = QStringLiteral("Fitサイズ");

// Closing buttons.
inline const QString SaveOver = QStringLiteral("上書き保存");
inline const QString SaveOverHint = QStringLiteral("上書き保存して終了");
inline const QString SaveAs = QStringLiteral("名付けて保存");
inline const QString SaveAsHint = QStringLiteral("メニューで保存して終了");
inline const QString CloseEditor = QStringLiteral("閉じる");
inline const QString CloseEditorHint = QStringLiteral("保存しないで終了");
inline const QString CloseUnsavedQuestion = QStringLiteral("変更があります。保存しないで終了しますか?");

// Save dialog.
inline const QString SaveDefaultName = QStringLiteral("newpage");
inline const QString SaveDefaultSuffix = QStringLiteral("html");
inline const QString SaveFilter = QStringLiteral("HTML (*.htm*);;全部 (*)");
inline const QString ReplaceQuestion = QStringLiteral("%1 は既にあります。置き換えますか?");
inline const QString SaveFailed = QStringLiteral("ページを保存できませんでした。\n%1");
// A page another computer wrote while it was open in the editor.
inline const QString PageChangedQuestion = QStringLiteral(
    "%1 は、エディターで開いた後にほかのPCで書き換えられました（書き込みなど）。\n"
    "このまま上書きすると、その内容は失われます。どうしますか?");
inline const QString ReloadPage = QStringLiteral("読み直す（編集を捨てる）");
inline const QString CancelSave = QStringLiteral("編集に戻る");
inline const QString PageBusy =
    QStringLiteral("%1 はほかのPCが書き込み中です。しばらくしてから、もう一度保存してください。");
// %1 the page, %2 the PC whose lock stands (its host name).
inline const QString PageBusyOn =
    QStringLiteral("%1 はPC「%2」が書き込み中です。しばらくしてから、もう一度保存してください。");
// %1 the page, %2 what stands at the lock's name in place of a lock file, and which name.
inline const QString LockNotAFile = QStringLiteral("%1 を保存できません。%2");
inline const QString PageNotReread = QStringLiteral("%1 を読み直せませんでした。");
inline const QString UndecodablePage =
    QStringLiteral("%1 はUTF-8の文字として読めないため、エディターでは開きません。ページはそのまま残ります。");
// Why a page is not read into the editor's fields: each follows "%1 は" and goes before "ため".
inline const QString ReasonTooLarge = QStringLiteral("大きすぎる");
inline const QString ReasonTooCostly = QStringLiteral("タグが多すぎる");
inline const QString ReasonLineTooLong = QStringLiteral("長すぎる行がある");
// %1 the page, %2 the reason.
inline const QString PageNotRereadBecause = QStringLiteral("%1 は%2ため、読み直せません。編集はそのまま残ります。");
inline const QString NotOpenedBecause =
    QStringLiteral("%1 は%2ため、エディターでは開けません。ほかに開くプログラムもありません。");
inline const QString NoProgramFor = QStringLiteral("%1 を開くプログラムがありません。");
// %1 the reason: the source view is left only for what the fields can hold.
inline const QString SourceNotRead = QStringLiteral("ソースは%1ため、編集欄に戻せません。");

// Tools.
inline const QString TodayHint = QStringLiteral("今日の日付");
inline const QString InitialiseHint = QStringLiteral("初期化");
inline const QString SourceEditHint = QStringLiteral("ソースの編集");
inline const QString SourceBackHint = QStringLiteral("戻る");
inline const QString EditNotesHint = QStringLiteral("編集での覚え書き");
inline const QString EditNoteFileName = QStringLiteral("_Edit.txt");

// Initialising a daily-report page.
inline const QString DailyInstructions = QStringLiteral("＜指示・伝達＞");
inline const QString DailyNotices = QStringLiteral("＜連絡＞");

// Labels of the top bar.
inline const QString TitleLabel = QStringLiteral("タイトル");
inline const QString SecondLineLabel = QStringLiteral("タイトル2行目");
inline const QString HintLabel = QStringLiteral("ボタンのヒント");
inline const QString TitleHint = QStringLiteral("タイトル2行目が無ければLOOKで検索");
inline const QString SecondLineHint = QStringLiteral("優先してLOOKで検索");
inline const QString HintHint = QStringLiteral("カーソルが入るとヒントを表示");

// Fields.
inline const QString HeadingHint = QStringLiteral("ファイル名に”日報”があると、 [日付] を自動挿入");
inline const QString SubheadingHint = QStringLiteral("小見出し");
inline const QString FramedTextHint = QStringLiteral("外枠あり");
inline const QString TextHint = QStringLiteral("枠無し");
inline const QString PictureNameHint = QStringLiteral("画像ファイル名");
inline const QString LinkTargetHint = QStringLiteral("リンクファイル名");
inline const QString LinkTextHint = QStringLiteral("リンク文字");
inline const QString WidthLabel = QStringLiteral("横");
inline const QString HeightLabel = QStringLiteral("縦");
inline const QString PictureLink = QStringLiteral("画像へのリンク");
inline const QString QuizBox = QStringLiteral("CAIボタン");
inline const QString AnswerBox = QStringLiteral("アンケート回答");
inline const QString QuizReminder = QStringLiteral("(正解|選１/選２/・・・)");

// Layout buttons.
inline const QString LayoutLeftHint = QStringLiteral("左に画像、右に文字を配置");
inline const QString LayoutCentreHint = QStringLiteral("中央に文字と画像を配置");
inline const QString LayoutRightHint = QStringLiteral("左に文字、右に画像を配置");
inline const QString LayoutTextHint = QStringLiteral("左クリック：文字だけ配置／右クリック：枠無し文字の削除");
inline const QString LayoutTableHint = QStringLiteral("左クリック：表／右クリック：表内文字削除");

// Alignment buttons.
inline const QString AlignLeftHint = QStringLiteral("左よせ");
inline const QString AlignCentreHint = QStringLiteral("中央");
inline const QString AlignRightHint = QStringLiteral("右よせ");
inline const QString BoxLeftHint = QStringLiteral("枠文字左");
inline const QString BoxCentreHint = QStringLiteral("枠文字中央");
inline const QString BoxRightHint = QStringLiteral("文字左枠右");

// Inline markup buttons.
inline const QString RedHint = QStringLiteral("選択文字を赤色");
inline const QString BlueHint = QStringLiteral("選択文字を青色");
inline const QString UnderlineHint = QStringLiteral("選択文字に下線");
inline const QString BoldHint = QStringLiteral("選択文字を太字");
inline const QString BiggerHint = QStringLiteral("選択文字を大きく");
inline const QString SubscriptHint = QStringLiteral("下付き");
inline const QString SuperscriptHint = QStringLiteral("上付き");
inline const QString RubyHint = QStringLiteral("ルビ");
inline const QString InsertLink = QStringLiteral("リンクの挿入");
inline const QString InsertPictureHint = QStringLiteral("画像の挿入");

// Style buttons (captions padded with ideographic spaces).
inline const QString StyleNote = QStringLiteral("　ノート　");
inline const QString StylePresentation = QStringLiteral("プレゼン");
inline const QString StyleItem = QStringLiteral("アイテム");
inline const QString StyleCover = QStringLiteral("　表紙　");

// Picture buttons.
inline const QString PictureLoadHint = QStringLiteral("左クリック：画像の読み込み／右クリック：画像削除");
inline const QString PictureEditHint = QStringLiteral("左クリックで修正／右クリックで新規作成");
inline const QString PictureLinkHint = QStringLiteral("左クリックで画像にリンク／右クリックで解除");
inline const QString HeaderPicture = QStringLiteral("TOP画像の挿入");
inline const QString HeaderPictureHint = QStringLiteral("タイトル画像の読み込み");
inline const QString Background = QStringLiteral("背景");
inline const QString BackgroundHint = QStringLiteral("背景画像の読み込み");

// Formatting and picture buttons.
inline const QString RubyCaption = QStringLiteral("ルビふり");
inline const QString LinkSuffix = QStringLiteral("へのリンク");
inline const QString PictureFilter = QStringLiteral(
    "画像ファイル (*.jpg *.jpeg *.bmp *.gif *png);;JPEG画像ファイル (*.jpg *.jpeg);;BMP画像ファイル (*.bmp);;"
    "GIF画像ファイル (*.gif);;PNG画像ファイル (*.png)");
inline const QString NameBreaksTag =
    QStringLiteral("「%1」には \" < > のどれかが含まれているため、ページに書き込めません。名前を変えてください。");
inline const QString PictureUnreadable = QStringLiteral("「%1」は画像として読めません。");
inline const QString ReplaceOtherPicture =
    QStringLiteral("ページのフォルダーには別の「%1」があります。他のページが使っているかもしれません。置き換えますか?");
inline const QString PictureCopyFailed = QStringLiteral("「%1」をページのフォルダーにコピーできませんでした。");
inline const QString NoBodyForBackground = QStringLiteral("このページには <BODY> が無いため、背景を付けられません。");
inline const QString PictureNotWritten = QStringLiteral("「%1」を作れませんでした。");

// The main window's ways into the editor.
inline const QString EditPageHint = QStringLiteral("ページの編集");
inline const QString NewPageMenu = QStringLiteral("新規ページ作成");
inline const QString NewPageMenuHint = QStringLiteral("エディターで新規ページを書く");
inline const QString NewPageAbove = QStringLiteral("上に作成");
inline const QString NewPageBelow = QStringLiteral("下に作成");

} // namespace EditorStrings
