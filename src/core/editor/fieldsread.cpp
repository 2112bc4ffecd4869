#include "core/editor/fieldsread.h"

#include "core/app/beneath.h"
#include "core/app/smallfile.h"
#include "core/editor/editorstrings.h"
#include "core/editor/pagereader.h"
#include "core/pages/markupscan.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

qsizetype utf8Length(QStringView text)
{
    qsizetype bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return bytes;
}

// Lines end at CR or LF, as the source view breaks them.
qsizetype longestLine(QStringView text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            longest = std::max(longest, run);
            run = 0;
        } else {
            ++run;
        }
    }
    return std::max(longest, run);
}

// What showing the fields lays out at once: the fields measured for their height
// whole, of the others the longest line. A paragraph's line breaks become blanks
// in a field, so that its lines can be far longer than the page's.
qsizetype fieldsLayout(const PageModel &model)
{
    qsizetype characters = model.heading.size() + model.subheading.size() + model.cells[0].size()
                           + longestLine(model.text);
    for (auto cell = model.cells.cbegin() + 1; cell != model.cells.cend(); ++cell)
        characters += longestLine(*cell);
    return characters;
}

} // namespace

FieldsRefusal refusalForFields(const QString &pageText)
{
    if (utf8Length(pageText) > PageSizeLimit)
        return FieldsRefusal::TooLarge;
    if (longestLine(pageText) > FieldsLayoutLimit)
        return FieldsRefusal::LineTooLong;
    if (exceedsMarkupLimit(pageText) || readMarkup(pageText).overBudget)
        return FieldsRefusal::TooCostly;
    // The fields hold parts of the page, none longer than it was. Read without a
    // folder: no picture is looked for.
    if (pageText.size() > FieldsLayoutLimit && fieldsLayout(LoadPageToFields(pageText, QString())) > FieldsLayoutLimit)
        return FieldsRefusal::LineTooLong;
    return FieldsRefusal::None;
}

QString refusalReason(FieldsRefusal refusal)
{
    switch (refusal) {
    case FieldsRefusal::TooLarge:
        return EditorStrings::ReasonTooLarge;
    case FieldsRefusal::TooCostly:
        return EditorStrings::ReasonTooCostly;
    case FieldsRefusal::LineTooLong:
        return EditorStrings::ReasonLineTooLong;
    case FieldsRefusal::None:
        break;
    }
    return {};
}

PageForFields readPageForFields(const QString &path)
{
    PageForFields file;
    QByteArray bytes;
    switch (readRegularFileAt(AT_FDCWD, QFile::encodeName(path).constData(), PageSizeLimit, bytes)) {
    case SmallFile::Absent:
        break;
    case SmallFile::Refused: {
        // Refused for its size, or for being no file: only the size is said.
        file.read.exists = true;
        struct stat st;
        file.tooLarge = Beneath::stat(path, &st) && S_ISREG(st.st_mode) && st.st_size > PageSizeLimit;
        break;
    }
    case SmallFile::Read:
        file.read = {true, bytes};
        file.page = decodePageUtf8(bytes);
        break;
    }
    return file;
}
