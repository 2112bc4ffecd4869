#pragma once

#include "core/pages/markupscan.h"

#include <QRegularExpression>
#include <QStringList>

// What a reader of a page sees in its body, in order: the links' targets, the
// scripts, the comments and the runs of text, one line each, with white space as
// the browser reads it: a run of blanks and line breaks is one blank, save in
// PRE and TEXTAREA, where every one counts. Attributes other than a link's
// target do not count.
inline QStringList bodyContent(const QString &page)
{
    const qsizetype bodyTag = page.indexOf(QStringLiteral("<BODY"), 0, Qt::CaseInsensitive);
    const qsizetype from = bodyTag < 0 ? 0 : page.indexOf(u'>', bodyTag) + 1;
    qsizetype to = page.lastIndexOf(QStringLiteral("</BODY"), -1, Qt::CaseInsensitive);
    if (to < from)
        to = page.size();
    const QString body = page.sliced(from, to - from);

    QStringList out;
    int keptWhiteSpace = 0; // PRE, TEXTAREA and the like open
    const auto addText = [&](QString run) {
        if (keptWhiteSpace == 0) {
            static const QRegularExpression blanks(QStringLiteral("[ \t\f\r\n]+"));
            run.replace(blanks, QStringLiteral(" "));
            while (run.startsWith(u' '))
                run.remove(0, 1);
            while (run.endsWith(u' '))
                run.chop(1);
        }
        if (!run.isEmpty())
            out << QStringLiteral("text: ") + run;
    };
    // Text between tags: comments apart, the rest runs of text.
    const auto addGap = [&](const QString &gap) {
        qsizetype pos = 0;
        while (true) {
            const qsizetype open = gap.indexOf(QStringLiteral("<!--"), pos);
            if (open < 0)
                break;
            const qsizetype close = gap.indexOf(QStringLiteral("-->"), open + 4);
            const qsizetype end = close < 0 ? gap.size() : close + 3;
            addText(gap.sliced(pos, open - pos));
            out << QStringLiteral("comment: ") + gap.sliced(open, end - open);
            pos = end;
        }
        addText(gap.sliced(pos));
    };

    static const QRegularExpression href(QStringLiteral("\\bhref\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    qsizetype pos = 0;
    bool inScript = false;
    for (const MarkupTag &tag : markupTags(body)) {
        const QString gap = body.sliced(pos, tag.begin - pos);
        if (inScript)
            out << QStringLiteral("script: ") + gap;
        else
            addGap(gap);
        const QString text = body.sliced(tag.begin, tag.end - tag.begin);
        inScript = !tag.closing && tag.name.compare(QStringLiteral("SCRIPT"), Qt::CaseInsensitive) == 0;
        for (const char *name : {"PRE", "TEXTAREA", "LISTING", "XMP"}) {
            if (tag.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                keptWhiteSpace = qMax(0, keptWhiteSpace + (tag.closing ? -1 : 1));
        }
        if (inScript)
            out << QStringLiteral("script tag: ") + text;
        if (!tag.closing && tag.name.compare(QStringLiteral("A"), Qt::CaseInsensitive) == 0) {
            const QRegularExpressionMatch m = href.match(text);
            out << QStringLiteral("link: ") + (m.hasMatch() ? m.captured(1) : text);
        }
        pos = tag.end;
    }
    addGap(body.sliced(pos));
    return out;
}

// The body content of a saved page without the note markers the builder adds to
// a page that had none.
inline QStringList savedBodyContent(const QString &saved, const QString &original)
{
    QStringList out = bodyContent(saved);
    for (const QString &marker : {QStringLiteral("<!--NOTE_IN-->"), QStringLiteral("<!--NOTE_OUT-->")}) {
        if (!original.contains(marker))
            out.removeAll(QStringLiteral("comment: ") + marker);
    }
    return out;
}
