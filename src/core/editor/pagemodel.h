#pragma once

#include "core/pages/markers.h"

#include <QString>

#include <array>

// The editor's page: the pieces of the loaded page that are written back unchanged,
// and one member per editor field (the control that shows it in the comment).
// Multi-line texts hold CR LF line breaks; the page holds "<BR>" in their place.
// Reading always starts from a fresh model, so nothing of one page leaks into the next.
struct PageModel
{
    static constexpr int CellCount = 78; // the caption cell and the 77 grid cells

    // Pieces of the loaded page, in page order.
    QString PageHeadStart;                        // text before the page-size tag
    QString PageSizeTag = Markers::SizeTagB4;     // CONTENT="Kavuno_TEXT_B4" / _A4 / _Fit
    bool hasSizeTagPlace = true;                  // false: the page has no HEAD to carry the tag
    QString PageHeadRest;                         // from the META's ">" up to the title
    QString PageHeadEnd;                          // after the title through the BODY start tag
    QString PageBodyLead;                         // body text before the blocks
    QString PageHeaderBlock;                      // the HEDDA block with its markers, or ""
    QString PageAfterHeader;                      // body text between the HEDDA block and the note
    // Note text no field holds, each before the element it precedes in the page.
    QString PageBeforeH1;
    QString PageBeforeH2;
    QString PageBeforeTable;
    QString PageBeforePicture;
    QString PageBeforeText;
    QString PageNoteRest;                         // after the text paragraph
    QString PageAfterNote;                        // body text between the note and the FOOTER block
    QString PageFooterBlock;                      // the FOOTER block with its markers, or ""
    QString PageTail;                             // body text after the blocks, then "</BODY>" to the end
    QString TitleIconPrefix;                      // "icon" with both quotes, or ""

    QString path;            // Label5: the file the fields were read from
    QString title;           // Edit1: main title
    QString titleSecondLine; // Edit5: after "#"
    QString titleHint;       // Edit6: after "?"

    QString headingTag = QStringLiteral("<H1>");    // ETAGH1
    QString heading;                                // Memo4
    QString subheadingTag = QStringLiteral("<H2>"); // ETAGH2
    QString subheading;                             // Memo5

    QString tableAlign;         // ETAGHYO1: align="center" and the like, or ""
    bool tableHasGrid = false;  // ETAGHYO1.Tag: the table read had more than one cell
    std::array<QString, CellCount> cells; // Memo1, Memo3, Memo6 .. Memo81 (cellMemoNumber)

    QString pictureParagraphTag; // ETAGSRC1: opening tag of the picture paragraph
    QString pictureTag;          // Edit7: the IMG tag (content of the picture paragraph, no link)
    QString pictureName;         // Gname: picture file relative to the page's folder, "" when none
    QString pictureWidth;        // GX
    QString pictureHeight;       // GY
    bool pictureSizeFixed = false; // GX.Tag
    bool picturePresent = false;   // Image1.Tag: the picture file was found and can be shown
    QString linkTarget;          // Edit2
    QString linkText;            // Edit3

    QString paragraphTag;        // ETAGP1 ("" is written as "<P>")
    QString text;                // Memo2

    int style = 0;               // GroupBox1.Tag: 0 none, 1 to 4
    int pageWidth = Markers::PageWidthB4; // PageWidth in pixels
    bool quiz = false;           // CheckBox1 "CAIボタン"
    bool answer = false;         // CheckBox2 "アンケート回答"
    bool quizPanelRaised = false; // Panel19 bevels

    // The number of the memo that shows cell index (0 → 1, 1 → 3, k → k + 4).
    static int cellMemoNumber(int index) { return index == 0 ? 1 : index == 1 ? 3 : index + 4; }

    bool operator==(const PageModel &) const = default;
};
