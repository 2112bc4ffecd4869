#include "ui/navigation/placeholderpage.h"

#include "core/navigation/navigationtexts.h"
#include "core/navigation/pathtext.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

QString placeholderPageText(const QString &title)
{
    return u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD>\r\n"
           "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n<TITLE>"_s
        + title + u"</TITLE></HEAD>\r\n<BODY><H2>"_s + title + u"</H2></BODY></HTML>\r\n"_s;
}

QString writePlaceholderPage(const QString &folder, const QString &title)
{
    const QString path = joinPath(folder, NavigationTexts::PlaceholderPage);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("\xEF\xBB\xBF");
    file.write(placeholderPageText(title).toUtf8());
    return file.commit() ? path : QString();
}
