#include "core/commands/navigationgate.h"

#include "core/app/smallfile.h"
#include "core/commands/commandline.h"
#include "core/commands/commandparse.h"
#include "core/navigation/pathtext.h"
#include "core/pages/pagetext.h"
#include "core/pages/picturefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

bool isLocalAddress(const QString &address)
{
    return address.startsWith(u"file:"_s, Qt::CaseInsensitive);
}

QString localPathOf(const QString &address)
{
    return QUrl(address, QUrl::TolerantMode).toLocalFile();
}

// A marker found at the second character or later, case as written.
bool holdsAfterFirst(const QString &address, const QString &marker)
{
    return address.indexOf(marker, 1) >= 1;
}

// Whether address is the very address entry opens at: a web entry its own
// text, any other the file URL of its path, with no query or fragment.
bool opensEntry(const QString &address, const QString &entry, const QString &curDir)
{
    if (isWebAddress(entry))
        return entry == address;
    if (!isLocalAddress(address))
        return false;
    const QUrl url(address, QUrl::TolerantMode);
    const QString path = entryLocalPath(curDir, entry);
    return !path.isEmpty() && !url.hasQuery() && !url.hasFragment() && url.toLocalFile() == path;
}

} // namespace

GateDecision decideNavigation(const QString &address, bool mainFrame, const QStringList &entries, int current,
                              const QString &curDir, const QString &homeDir)
{
    if (current < 0 || address.isEmpty())
        return {};

    // Only the window itself going to one of the level's own pages moves the
    // buttons along: a frame or a name that merely holds the address would let
    // a page open any page of the folder, a peer's planted one included.
    // The current page itself is no other page, however often the level lists it.
    // Only entries that are whole addresses (a level made from a link page) are
    // looked at: a folder's own pages open through their buttons, not twice.
    if (mainFrame && !(current < entries.size() && opensEntry(address, entries.at(current), curDir))) {
        for (int j = 0; j < entries.size(); ++j) {
            if (j != current && isWholeEntry(entries.at(j)) && opensEntry(address, entries.at(j), curDir))
                return {GateAction::SyncPageList, j, {}};
        }
    }

    const bool command = isCommandAddress(address);
    // A name of the data root that a peer made a link out of it is not followed,
    // from a link or a frame alike.
    if (isLocalAddress(address) && !command && !homeDir.isEmpty()) {
        const QString path = QDir::cleanPath(localPathOf(address));
        if (path.startsWith(QDir::cleanPath(homeDir) + u'/') && QFileInfo::exists(path) && !staysInRoot(path, homeDir))
            return {GateAction::RefuseOutside, -1, path};
    }
    // A frame cannot be sent elsewhere from here: its links are not looked up by case.
    if (mainFrame && isLocalAddress(address) && !command && !homeDir.isEmpty()) {
        const QString path = localPathOf(address);
        if (!QFileInfo::exists(path)) {
            const QString found = findPathInRoot(homeDir, path);
            if (!found.isEmpty())
                return {GateAction::OpenFile, -1, found};
        }
    }
    // Only local addresses can name a folder: about:blank, data: and the web go on.
    if (isLocalAddress(address) && !command && hasNoExtension(address))
        return {GateAction::ExploreFolder, -1, localPathOf(address)};

    if (holdsAfterFirst(address, u".wav"_s) && !command)
        return {GateAction::PlaySound, -1, isLocalAddress(address) ? localPathOf(address) : address};

    if (holdsAfterFirst(address, u".avi"_s) || holdsAfterFirst(address, u".mpg"_s)
        || holdsAfterFirst(address, u".wmv"_s)) {
        if (originOf(address) == CommandOrigin::WebPage)
            return {GateAction::OpenExternally, -1, address};
        return {GateAction::PlayVideo, -1, address};
    }

    if (command)
        return {GateAction::RunCommands, -1, address};
    return {};
}

QString navigationTitle(const QString &address, const QString &currentTitle, int current)
{
    const QString path = isLocalAddress(address) ? localPathOf(address) : address;
    const QFileInfo file(path);
    if (!path.isEmpty() && file.isFile() && file.fileName().toLower().contains(u".ht"_s)) {
        const QString text = QString::fromUtf8(readTextFile(path).value_or(QByteArray()));
        const qsizetype open = text.indexOf(u"<TITLE"_s, 0, Qt::CaseInsensitive);
        if (open >= 0 && text.contains(u"<!DOCTYPE HTML PUBLIC"_s)) {
            const qsizetype start = text.indexOf(u'>', open);
            const qsizetype end = start < 0 ? -1 : text.indexOf(u"</TITLE"_s, start, Qt::CaseInsensitive);
            const QString title = end < 0 ? QString() : text.mid(start + 1, end - start - 1);
            return title.isEmpty() ? file.completeBaseName() : title;
        }
    }
    if (current > 0)
        return UnescapeAngles(currentTitle);
    return {};
}

bool isTitlePageTitle(const QString &title)
{
    return title.contains(u"TITLE"_s) || title.contains(u"題目"_s);
}
