#pragma once

#include <QString>

// The texts of presenting and of the update poll: the shared marker's name, the
// captions of the update button and the hints of the three buttons. Other copies
// of the program and their users rely on them byte for byte.
namespace PresentText {

using namespace Qt::StringLiterals;

// The marker in the data root whose existence means "a page is being presented".
inline const QString markerFileName = u"$$$.$$$"_s;

// Update button captions.
inline const QString paused = u"更新中止"_s;
inline const QString resumed = u"自動更新開始"_s;
inline const QString switchedOff = u"自動更新停止"_s;
inline const QString running = u"自動更新中"_s;
inline const QString stampChecked = u"更新チェック中"_s;
inline const QString fileMissing = u"ファイル不在"_s;
inline const QString stampUnusable = u"チェック不可"_s;
inline const QString stampFailed = u"通信不調"_s;

// Button hints.
inline const QString presentHint = u"この画面を全ての閲覧中のPCのウィンドウに提示"_s;
inline const QString stopHint = u"提案しているウィンドウを消す"_s;
inline const QString pollHint = u"更新ファイルのチェック"_s;

// Heading of the placeholder page a viewer shows while it opens.
inline const QString viewerOpening = u"*** 提案中 ***"_s;

// Shown in place of a picture a browser is not given, after its name.
inline const QString pictureTooLarge = u"この画像は大きすぎるため表示しません"_s;
inline const QString pixels = u" ピクセル"_s;
inline const QString vectorPictureNotShown = u"SVG の画像は単独では表示しません"_s;
// Shown in a pane whose browser process ended.
inline const QString rendererEnded = u"このページを表示していたプロセスが終了しました。次のページは表示できます。"_s;

// The stamp callers pass when they have no earlier one.
inline const QString noStamp = u"0"_s;

} // namespace PresentText
