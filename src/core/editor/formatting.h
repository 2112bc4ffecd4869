#pragma once

#include <QColor>
#include <QString>

// The texts the editor's formatting buttons put into a memo, and the look of
// each page style in the editor. The page writer takes the memo texts as they
// are, so these exact texts end up in the page.
namespace Formatting {

enum class Markup { Red, Blue, Underline, Strong, Bigger, Subscript, Superscript };

// Opening tag + selection + closing tag; markup is never merged or nested.
QString wrapMarkup(Markup markup, const QString &selection);

// "<ruby>" + base + "<rt>" + reading + "</ruby>".
QString rubyMarkup(const QString &base, const QString &reading);

// Names and targets are written between double quotes and inside tags: one
// holding '"', '<' or '>' (allowed in Linux file names) would break the page.
bool breaksTag(const QString &nameOrTarget);

// The link the link button inserts for a target typed or chosen in the link
// dialog. "\", "/" and ":" separate folders; a web address ("://") is kept whole
// and named after its last "/". A target without extension links to its folder.
struct Link
{
    QString html;        // <A href="address">nameへのリンク</A>; empty when none
    bool refused = false; // the target would break the tag
};
Link linkFromTarget(const QString &target);

// The inline picture: <img src="name" width="W" height="H" align="middle">.
QString inlinePictureTag(const QString &name, int width, int height);

// The look of the editor's fields for a page style (0 none, 1 to 4).
struct StyleColour
{
    enum Kind { Fixed, ButtonFace, ScrollBar } kind = Fixed;
    QColor colour;
};
struct FieldLook
{
    int pointSize = 14;
    StyleColour background;
    StyleColour text;
};
struct StylePreview
{
    FieldLook heading;    // Memo4
    StyleColour bar;      // Panel10
    FieldLook subheading; // Memo5
    FieldLook body;       // Memo1 and Memo2
    int cellPointSize = 10;
    int raisedButton = 0; // the style button drawn raised, 0 for none
};
StylePreview stylePreview(int style);

} // namespace Formatting
