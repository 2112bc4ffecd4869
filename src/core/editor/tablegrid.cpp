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

bool hasAttribute(const MarkupTag &tag, QStringView name)
{
    return std::any_of(tag.attributes.cbegin(), tag.attributes.cend(),
                       [name](const MarkupAttribute &attribute) { return attribute.name == name; });
}

// align="..." of the table's start tag, or "".
QString alignOf(const QString &startTag)
{
    const qsizetype align = startTag.indexOf(u"align"_s);
    if (align < 0)
        return {};
    const qsizetype open = startTag.indexOf(u'"', align);
    const qsizetype close = open < 0 ? -1 : startTag.indexOf(u'"', open + 1);
    return u"align=\""_s + (close < 0 ? QString() : startTag.sliced(open + 1, close - open - 1)) + u'"';
}
} // namespace

bool readTableGrid(PageModel &m, const NoteTags &note, const Span &table)
{
    const QString &text = note.text();
    const QList<MarkupTag> &tags = note.tags();
    if (!table.closed || note.keepsWhiteSpace(table.begin, table.contentBegin))
        return false;
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
        if (isNamed(tag, u"TBODY") || (tag.closing && isNamed(tag, u"TR")))
            continue;
        if (!tag.closing && isNamed(tag, u"TR")) {
            if (++row >= RowCount)
                return false;
            column = 0;
            continue;
        }
        if (tag.closing || !isNamed(tag, u"TD") || hasAttribute(tag, u"rowspan"))
            return false;
        row = qMax(row, 0);
        if (column >= rowCapacity(row))
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
    m.tableAlign = alignOf(text.sliced(table.begin, table.contentBegin - table.begin));
    m.cells = cells;
    m.tableHasGrid = cellCount > 1;
    return true;
}
