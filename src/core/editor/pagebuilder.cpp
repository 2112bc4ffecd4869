#include "core/editor/pagebuilder.h"

#include "core/editor/tagattr.h"
#include "core/pages/markers.h"
#include "core/pages/pagefile.h"
#include "core/pages/picturefile.h"
#include "core/pages/quiz.h"
#include "core/pages/styleblocks.h"
#include "core/pages/titlesyntax.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const QString CrLf = u"\r\n"_s;

// Line breaks of a field become "<BR>" in the page.
QString fieldToPage(const QString &text)
{
    QString out = text;
    out.replace(CrLf, Markers::LineBreakTag);
    return out;
}

QString folderOf(const QString &path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return QFileInfo(p).absolutePath();
}

QString pictureTagWithSize(const PageModel &m, const QString &path)
{
    if (m.pictureName.isEmpty())
        return m.pictureTag;
    const QString folder = folderOf(m.path.isEmpty() ? path : m.path);
    if (findFileInFolder(folder, m.pictureName).isEmpty())
        return m.pictureTag;
    if (m.picturePresent)
        return SetTagAttr(SetTagAttr(m.pictureTag, u"width=\""_s + m.pictureWidth + u'"'),
                          u"height=\""_s + m.pictureHeight + u'"');
    return SetTagAttr(SetTagAttr(m.pictureTag, u"width=\"\""_s), u"height=\"\""_s);
}

QString buildTitle(const PageModel &m, const QString &path, const QDate &today, QString &archiveName)
{
    if (!path.isEmpty() && isDailyReportPath(path)) {
        QString p = path;
        p.replace(u'\\', u'/');
        archiveName = today.toString(u"' 'yyyy'年'MM'月'dd'日'"_s) + QFileInfo(p).completeBaseName();
        return dailyReportTitle(m.title, m.titleHint, today);
    }
    return joinTitle(m.TitleIconPrefix, m.title, m.titleSecondLine, m.titleHint);
}

QString pictureParagraph(const PageModel &m, const QString &pictureTag)
{
    const QString linkOpen = Markers::LinkStart + m.linkTarget + u"\">"_s;
    if (!pictureTag.isEmpty()) {
        const QString content = m.linkTarget.isEmpty() ? pictureTag : linkOpen + pictureTag + Markers::LinkEnd;
        return m.pictureParagraphTag + fieldToPage(content) + Markers::ParagraphEnd;
    }
    if (!m.linkTarget.isEmpty()) {
        const QString text = m.linkText.isEmpty() ? m.linkTarget : m.linkText;
        return Markers::ParagraphStart + fieldToPage(linkOpen + text + Markers::LinkEnd) + Markers::ParagraphEnd;
    }
    return Markers::ParagraphStart + Markers::ParagraphEnd;
}
} // namespace

QString BuildTableGrid(const PageModel &m)
{
    const auto hasText = [](const QString &cell) { return !cell.isEmpty(); };
    if (std::none_of(m.cells.begin(), m.cells.end(), hasText))
        return {};

    const QString t = (m.tableAlign.contains(u"center"_s) || m.tableAlign.contains(u"right"_s))
        ? m.tableAlign
        : u" width=\""_s + QString::number(m.pageWidth - 46) + u'"';
    const QString a = m.tableAlign.contains(u"center"_s) ? m.tableAlign : QString();

    QString grid = u"<TABLE border=\"1\" "_s + t + u"><TBODY>"_s + CrLf + u"<TR>"_s + CrLf + u"<TD colspan=\"8\" "_s
        + a + u">"_s + fieldToPage(m.cells[0]) + u"</TD></TR>"_s + CrLf;

    if (std::any_of(m.cells.begin() + 1, m.cells.end(), hasText)) {
        int cell = 1;
        const auto writeCell = [&](const QString &open) {
            grid += open + fieldToPage(m.cells[cell++]) + u"</TD>"_s + CrLf;
        };
        for (int row = 1; row <= 13; ++row) {
            grid += u"<TR>"_s + CrLf;
            const QString colour = row == 1 ? u"#cbfefc"_s : u"#fafed3"_s;
            const QString narrow = u"<TD "_s + a + u" Width=\"100\" bgcolor=\""_s + colour + u"\">"_s;
            if (row <= 8) {
                writeCell(narrow);
                writeCell(narrow);
                for (int k = 0; k < 6; ++k)
                    writeCell(u"<TD "_s + a + u" bgcolor=\""_s + colour + u"\">"_s);
            } else if (row <= 12) {
                writeCell(narrow);
                writeCell(narrow);
                writeCell(u"<TD colspan=\"6\" "_s + a + u" bgcolor=\"#fafed3\">"_s);
            } else {
                writeCell(u"<TD colspan=\"8\" "_s + a + u" bgcolor=\"#fafed3\">"_s);
            }
            grid += u"</TR>"_s + CrLf;
        }
    }
    return grid + u"</TBODY></TABLE>"_s + CrLf;
}

PageBuild BuildPageFromFields(const PageModel &m, const QString &path, const QDate &today)
{
    PageBuild result;
    const QString pictureTag = pictureTagWithSize(m, path);

    const QString title = buildTitle(m, path, today, result.archiveName);
    const QString titleElement = Markers::TitleStart + title + Markers::TitleEnd;
    const QString h1 = m.heading.isEmpty() ? QString() : fieldToPage(m.headingTag + m.heading) + u"</H1>"_s;
    const QString h2 = m.subheading.isEmpty() ? QString() : fieldToPage(m.subheadingTag + m.subheading) + u"</H2>"_s;
    const QString paragraphTag = m.paragraphTag.isEmpty() ? Markers::ParagraphStart : m.paragraphTag;
    const QString noteRest = m.PageBeforeTable + BuildTableGrid(m) + m.PageBeforePicture
        + pictureParagraph(m, pictureTag) + m.PageBeforeText + paragraphTag + fieldToPage(m.text)
        + Markers::ParagraphEnd + m.PageNoteRest;

    const QString page = m.PageHeadStart + (m.hasSizeTagPlace ? m.PageSizeTag : QString()) + m.PageHeadRest
        + titleElement + BuildStyleBlock(m.style) + m.PageHeadEnd + m.PageBodyLead + m.PageHeaderBlock
        + m.PageAfterHeader + Markers::NoteIn + m.PageBeforeH1 + h1 + m.PageBeforeH2 + h2 + noteRest + Markers::NoteOut
        + m.PageAfterNote + m.PageFooterBlock + m.PageTail;

    // The quiz wins should both boxes be ticked.
    if (m.quiz)
        result.page = BuildQuizHtml(page);
    else if (m.answer)
        result.page = InsertAnswerButton(page);
    else
        result.page = page;
    return result;
}

bool SavePageFile(const PageModel &model, const QString &path, const QDate &today, PageBuild *build,
                  QString *errorString)
{
    const PageBuild built = BuildPageFromFields(model, path, today);
    if (build)
        *build = built;
    return writePageFile(path, built.page, errorString);
}
