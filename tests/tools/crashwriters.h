#pragma once

// What the crash driver writes and how the crash test recognises a whole file.

#include "core/forms/answercsv.h"

#include <QByteArray>
#include <QString>

namespace CrashWriters {

inline const QString PageName = QStringLiteral("1010_ページ.html");
inline const QString NoteName = QStringLiteral("1010_ページ.%xt");
inline const QString VariablesName = QStringLiteral("vars.js");
inline const QString SjisName = QStringLiteral("1020_sjis.html");
inline const QString CopySourceName = QStringLiteral("source.bin");
inline const QString CopyTargetName = QStringLiteral("big.bin");
inline const QString AnswerCsvName = QStringLiteral("_1010_アンケート.csv");
inline const QString AnswerHeader = QStringLiteral("名前,答え");
inline const QString PostPageName = QStringLiteral("1010_掲示板.html");
inline const int RenamedPages = 4;
// The reordered folder "A" of the data root: pages and pictures that name each
// other, each page with its note; a page of the root and one of "A/sub" name them too.
inline const int ReorderedPages = 150;

// Names as they stand at first: pages 1000_x.html.., pictures after them.
inline QString reorderedName(int position)
{
    return QStringLiteral("%1_x").arg(1000 + 10 * position) + (position < ReorderedPages ? QStringLiteral(".html") : QStringLiteral(".jpg"));
}

// A link that tells what it is to lead to: the file holding "ID:" + id.
inline QString namedLink(const QString &attribute, const QString &value, const QString &id)
{
    return attribute + QStringLiteral("=\"") + value + QStringLiteral("\" title=\"") + id + QStringLiteral("\"");
}

inline AnswerLine answerFor(const QString &id, int version)
{
    return {AnswerHeader, id + QStringLiteral("-%1,答え").arg(version) + QString(200, QChar(0x3042))};
}

inline QString postMessage(const QString &id, int version)
{
    return QStringLiteral("投稿 %1-%2").arg(id).arg(version);
}

inline QString postPage()
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML><HEAD>"
                          "<TITLE>掲示板</TITLE></HEAD><BODY>\n<P>お知らせ</P>\n</BODY></HTML>\n");
}

// About 200 KB, so that a write takes long enough to be interrupted.
inline QString versionedText(int version)
{
    const QString number = QString::number(version);
    QString text = QStringLiteral("BEGIN ") + number + QStringLiteral("\n");
    const QString line = QStringLiteral("あいうえお かきくけこ 0123456789 ") + number + QStringLiteral("\n");
    while (text.size() < 70000)
        text += line;
    return text + QStringLiteral("END ") + number + QStringLiteral("\n");
}

// The version a text stands for, or 0 when it is not one whole version.
inline int wholeVersion(const QString &text)
{
    const qsizetype begin = text.indexOf(QStringLiteral("BEGIN "));
    if (begin < 0)
        return 0;
    qsizetype digits = begin + 6;
    while (digits < text.size() && text.at(digits).isDigit())
        ++digits;
    const int version = text.mid(begin + 6, digits - begin - 6).toInt();
    if (version <= 0)
        return 0;
    const QString end = QStringLiteral("END ") + QString::number(version);
    return text.contains(end) ? version : 0;
}

// A long path, so that a half-read marker would show.
inline QString presentedPage(const QString &dir, int version)
{
    return dir + QStringLiteral("/単元%1/").arg(version % 3) + QString(60, QChar(0x30DA))
           + QStringLiteral("_%1.html").arg(version % 5);
}

inline QString sjisPage(int version)
{
    return QStringLiteral("<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                          "<TITLE>テスト</TITLE></HEAD><BODY>\r\n")
           + versionedText(version) + QStringLiteral("</BODY></HTML>\r\n");
}

inline QByteArray copySource()
{
    QByteArray bytes;
    bytes.reserve(8 << 20);
    for (int i = 0; bytes.size() < (8 << 20); ++i)
        bytes += QByteArray::number(i).rightJustified(15, '0') + '\n';
    return bytes;
}

} // namespace CrashWriters
