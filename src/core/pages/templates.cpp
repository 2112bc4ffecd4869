#include "core/pages/templates.h"

#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/styleblocks.h"

#include <QDir>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
// Document type through the second META line: the head shared by both templates.
QString headLines()
{
    return QStringList{Markers::DocType, Markers::HtmlStart, Markers::HeadStart,
                       Markers::AuthorMetaStart + Markers::SizeTagB4 + u">"_s, Markers::ContentTypeMeta,
                       Markers::StyleTypeMeta}
        .join(u'\r');
}
} // namespace

QString newPageText(const QDate &date)
{
    return headLines() + u'\r' + Markers::TitleStart + date.toString(u"yyyy'年'MM'月'dd'日'"_s) + Markers::TitleEnd
        + StyleBlock(1)
        + QStringList{Markers::HeadEnd, Markers::BodyStart, Markers::HeddaIn, Markers::HeddaOut, Markers::FooterIn,
                      Markers::FooterOut, Markers::BodyEnd, Markers::HtmlEnd}
              .join(u'\r');
}

QString progressPageText(const QString &status)
{
    // The trailing blanks are part of the page as other copies have always written it.
    static const QStringList styleLines = QStringList{
        Markers::TitleStart + u"NEW"_s + Markers::TitleEnd + Markers::StyleInPlain,
        u"<STYLE type=\"text/css\">"_s,
        u"<!--"_s,
        u"H1{ "_s,
        u"color : white;"_s,
        u"background-color : #1faf9a;"_s,
        u"font-size :6mm;"_s,
        u"border-style : none none none none; "_s,
        u"padding-top : 10px;"_s,
        u"padding-left : 10px; "_s,
        u"padding-right : 10px;"_s,
        u"padding-bottom : 10px;"_s,
        u"}"_s,
        u"H2{"_s,
        u"font-size :5mm;border-style : none none inset none; "_s,
        u"border-bottom-color :  #1faf9a;"_s,
        u"color :  #1faf9a;"_s,
        u"}"_s,
    } + textRules(u"5mm"_s, u"P{"_s)
      + QStringList{
          u"-->"_s,
          u"</STYLE>"_s,
          Markers::StyleOut + Markers::StyleInPrefix + u"1-->"_s,
          u"<STYLE type=\"text/css\">"_s,
          u"<!--"_s,
          u"H1{"_s,
          u"font-size :6mm;"_s,
          u"}"_s,
          u"H2{"_s,
          u"font-size :5mm;"_s,
          u"line-height : 1.3em;"_s,
          u"}"_s,
      } + textRules(u"5mm"_s, u"P{"_s)
      + QStringList{u"-->"_s, u"</STYLE>"_s, Markers::StyleOut, Markers::HeadEnd, Markers::BodyStart + Markers::HeddaIn};
    return headLines() + u'\r' + styleLines.join(u'\r') + u'\r' + Markers::HeddaOut + Markers::NoteIn
        + u"<H1 align=\"center\">"_s + status + u"</H1><P></P><P></P>"_s + Markers::NoteOut + Markers::FooterIn
        + u'\r' + Markers::FooterOut + u'\r' + Markers::BodyEnd + u'\r' + Markers::HtmlEnd + u'\r';
}

QString NEWHTMLSAVE(const QString &folder, const QString &status)
{
    const QString path = QDir(folder).filePath(Markers::ProgressPageName);
    writePageFile(path, progressPageText(status));
    return path;
}
