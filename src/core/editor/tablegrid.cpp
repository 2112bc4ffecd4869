#include "core/editor/tablegrid.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int RowCount = 14;

int rowCapacity(int row)
{
    return row == 0 || row == RowCount - 1 ? 1 : row <= 8 ? 8 : 3;
}

// The model's index of the first cell of a row.
int rowStart(int row)
{
    if (row == 0)
        return 0;
    if (row <= 8)
        return 1 + (row - 1) * 8;
    return row <= 12 ? 65 + (row - 9) * 3 : 77;
}

bool isBlankGap(QStringView gap)
{
    return std::all_of(gap.begin(), gap.end(),
                       [](QChar c) { return c == u' ' || c == u'\t' || c == u'\f' || c == u'\r' || c == u'\n'; });
}

bool isTablePart(const MarkupTag &tag)
{
    static const QStringList names = {u"TABLE"_s, u"CAPTION"_s, u"COLGROUP"_s, u"COL"_s, u"THEAD"_s, u"TBODY"_s,
                                      u"TFOOT"_s, u"TR"_s, u"TD"_s, u"TH"_s};
    return std::any_of(names.cbegin(), names.cend(), [&tag](const QString &name) { return isNamed(tag, name); });
}

QStringView valueOf(const QString &text, const MarkupAttribute &attribute)
{
    return attribute.valueBegin < 0 ? QStringView()
                                    : QStringView(text).sliced(attribute.valueBegin,
                                                               attribute.valueEnd - attribute.valueBegin);
}

bool isNumber(QStringView value)
{
    return !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The TABLE start tag as the grid writes it back: border="1", and either a width
// (the page's, when written) or align="center" or "right". align receives the
// alignment the grid keeps; false for a tag holding anything else.
bool readTableTag(const MarkupTag &tag, const QString &text, QString *align)
{
    bool width = false;
    for (const MarkupAttribute &attribute : tag.attributes) {
        const QStringView value = valueOf(text, attribute);
        if (attribute.name == u"border"_s && value == u"1")
            continue;
        if (attribute.name == u"width"_s && isNumber(value)) {
            width = true;
            continue;
        }
        if (attribute.name == u"align"_s
            && (value.compare(u"center", Qt::CaseInsensitive) == 0 || value.compare(u"right", Qt::CaseInsensitive) == 0)) {
            *align = u"align=\""_s + value.toString().toLower() + u'"';
            continue;
        }
        return false;
    }
    return !(width && !align->isEmpty());
}

// What the builder writes on the cell at row, column of the grid besides the
// table's centring: its span, its width and its colour.
struct CellShape
{
    QStringView colspan;
    QStringView width;
    QStringView colour;
};

CellShape builderCell(int row, int column)
{
    if (row == 0)
        return {u"8", {}, {}};
    if (row == RowCount - 1)
        return {u"8", {}, u"#fafed3"};
    const QStringView colour = row == 1 ? u"#cbfefc" : u"#fafed3";
    if (column < 2)
        return {{}, u"100", colour};
    return {row > 8 ? u"6" : QStringView(), {}, colour};
}

// Whether the cell's start tag holds only what the builder writes there: a span
// elsewhere would shift the cells, another attribute would be lost.
bool cellTagFits(const MarkupTag &tag, const QString &text, int row, int column, bool centred)
{
    const CellShape shape = builderCell(row, column);
    for (const MarkupAttribute &attribute : tag.attributes) {
        const QStringView value = valueOf(text, attribute);
        const QStringView expected = attribute.name == u"colspan"_s ? shape.colspan
                                     : attribute.name == u"width"_s ? shape.width
                                     : attribute.name == u"bgcolor"_s ? shape.colour
                                     : attribute.name == u"align"_s && centred ? QStringView(u"center")
                                                                               : QStringView();
        if (expected.isEmpty() || value.compare(expected, Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}
} // namespace

bool readTableGrid(PageModel &m, const NoteTags &note, const Span &table)
{
    const QString &text = note.text();
    const QList<MarkupTag> &tags = note.tags();
    const qsizetype tableTag = note.firstTagAt(table.begin);
    QString align;
    if (!table.closed || note.keepsWhiteSpace(table.begin, table.contentBegin) || tableTag >= tags.size()
        || !readTableTag(tags.at(tableTag), text, &align))
        return false;
    const bool centred = align.contains(u"center"_s);
    std::array<QString, PageModel::CellCount> cells;
    int cellCount = 0;
    int row = -1; // cells before any TR stand in the row the browser makes for them
    int column = 0;
    qsizetype gapFrom = table.contentBegin;
    for (qsizetype i = note.firstTagAt(table.contentBegin); i < tags.size() && tags.at(i).begin < table.contentEnd; ++i) {
        const MarkupTag &tag = tags.at(i);
        if (!isBlankGap(QStringView(text).sliced(gapFrom, tag.begin - gapFrom)))
            return false;
        gapFrom = tag.end;
        // Rows and the body the grid writes bare.
        if ((isNamed(tag, u"TBODY") || isNamed(tag, u"TR")) && !tag.attributes.isEmpty())
            return false;
        if (isNamed(tag, u"TBODY") || (tag.closing && isNamed(tag, u"TR")))
            continue;
        if (!tag.closing && isNamed(tag, u"TR")) {
            if (++row >= RowCount)
                return false;
            column = 0;
            continue;
        }
        if (tag.closing || !isNamed(tag, u"TD"))
            return false;
        row = qMax(row, 0);
        if (column >= rowCapacity(row) || !cellTagFits(tag, text, row, column, centred))
            return false;
        // The cell runs to its own end tag, with no part of a table inside.
        qsizetype end = i + 1;
        while (end < tags.size() && tags.at(end).begin < table.contentEnd && !isTablePart(tags.at(end)))
            ++end;
        if (end >= tags.size() || tags.at(end).begin >= table.contentEnd || !tags.at(end).closing
            || !isNamed(tags.at(end), u"TD") || note.keepsWhiteSpace(tag.begin, tags.at(end).begin))
            return false;
        cells[rowStart(row) + column++] = pageTextToField(QStringView(text).sliced(tag.end, tags.at(end).begin - tag.end));
        ++cellCount;
        gapFrom = tags.at(end).end;
        i = end;
    }
    // A table with no text has no grid: the builder would write none.
    if (!isBlankGap(QStringView(text).sliced(gapFrom, table.contentEnd - gapFrom))
        || std::all_of(cells.cbegin(), cells.cend(), [](const QString &cell) { return cell.isEmpty(); }))
        return false;
    m.tableAlign = align;
    m.cells = cells;
    m.tableHasGrid = cellCount > 1;
    return true;
}
