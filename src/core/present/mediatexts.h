#pragma once

#include <QString>

// The texts of drawing on a capture, the page sound and the media player, each once.
namespace MediaText {

using namespace Qt::StringLiterals;

// Bottom-row buttons and the page-sound button.
inline const QString pictureHint = u"フォルダにある画像を提示"_s;
inline const QString startDrawingHint = u"左：画面に描く　/右：前回描いた画面へ"_s;
inline const QString endDrawingHint = u"左：画面を残してページに戻る／右：画面を残さず戻る"_s;
inline const QString saveCaptureHint = u"画面を画像で保存＆クリップボードへ"_s;
inline const QString penMenuHint = u"線色の変更、画面の保存"_s;
inline const QString soundHint = u"ページ録音の再生"_s;

// The pen menu.
inline const QString viewerItem = u"ビュアで表示"_s;
inline const QString viewerItemOriginal = u"元ファイルをビュアで表示"_s;
inline const QString redPen = u"赤ペン"_s;
inline const QString bluePen = u"青ペン"_s;
inline const QString yellowPen = u"黄ペン"_s;
inline const QString whitePen = u"白ペン"_s;
inline const QString blackPen = u"黒ペン"_s;
inline const QString thickPen = u"太いペン"_s;
inline const QString standardPen = u"標準のペン"_s;
inline const QString eraseRedFirst = u"赤い部分だけ消去"_s;
inline const QString eraseRed = u"画面の赤色を消す"_s;
inline const QString eraseBlue = u"画面の青色を消す"_s;
inline const QString eraseYellow = u"画面の黄色を消す"_s;
inline const QString eraseWhite = u"画面の白色を消す"_s;
inline const QString eraseBlack = u"画面の黒色を消す"_s;
inline const QString savePageAsPicture = u"このページを画像で保存"_s;

// The picture dialogs.
inline const QString saveFilter = u"bmp画像 (*.bmp);;jpeg画像 (*.jpeg *.jpg)"_s;
inline const QString openFilter
    = u"画像 (*.png *.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf);;PDF (*.pdf);;全て (*)"_s;
inline const QString captureFileName = u"ページ画像.bmp"_s;
inline const QString drawingPreparing = u"*** 描画準備中 ***"_s;
inline const QString unknownPictureExtension = u"「%1」は保存できません。拡張子は .bmp、.jpg、.jpeg のどれかにしてください。"_s;
inline const QString pictureNotSaved = u"「%1」に保存できませんでした。"_s;

// The sound recorder window.
inline const QString recorderTitle = u"録音"_s;
inline const QString recordButton = u"録音開始"_s;
inline const QString stopButton = u"録音停止"_s;
inline const QString keepButton = u"保存して閉じる"_s;
inline const QString cancelButton = u"保存しないで閉じる"_s;
inline const QString recordingSeconds = u"%1 秒"_s;
inline const QString noRecordingDevice = u"録音できる装置がありません。"_s;
inline const QString recordingFailed = u"録音を保存できませんでした：%1"_s;
inline const QString soundFileExtension = u".wav"_s;
inline const QString indexSoundName = u"index.wav"_s;

// The drawing file beside a page.
inline const QString drawingPrefix = u"_%"_s;
inline const QString drawingExtension = u".bmp"_s;

// The media player.
inline const QString stepForward = u"+1"_s;
inline const QString stepBack = u"-1"_s;
inline const QString positionAtDesign = u"0000/0000"_s;

} // namespace MediaText
