#include "core/navigation/navigator.h"

#include "core/app/beneath.h"
#include "core/app/rootpath.h"
#include "core/navigation/levelprefetch.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/pagelist.h"
#include "core/navigation/pagetitle.h"
#include "core/navigation/pathtext.h"
#include "core/pages/picturefile.h"
#include "core/tools/renamerecord.h"

#include <QFileInfo>

#include <utility>

using namespace Qt::StringLiterals;

// Stands in while no window is attached, so that no call needs a null check.
static NavigatorHost &noHost()
{
    static NavigatorHost host;
    return host;
}

Navigator::Navigator(NavigatorHost *host)
    : m_host(host ? host : &noHost())
{
}

Navigator::~Navigator() = default;

void Navigator::setHost(NavigatorHost *host)
{
    m_host = host ? host : &noHost();
}

QString dataRootFor(const QString &programFile)
{
    const QFileInfo info(programFile);
    const QString base = info.completeBaseName();
    const QString root = info.absolutePath() + u'/' + base;
    return base == info.fileName() ? root + u"_data"_s : root;
}

void Navigator::setProgramPath(const QString &programFile)
{
    const QFileInfo info(programFile);
    ExeBaseName = info.completeBaseName();
    ExeDir = info.absolutePath();
    if (!ExeDir.endsWith(u'/'))
        ExeDir += u'/';
    HomeDir = dataRootFor(programFile);
    CurDir = HomeDir;
    setDataRoot(HomeDir);
}

static QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

bool Navigator::entersFolder(const QString &folder) const
{
    return HomeDir.isEmpty() || staysInRoot(withoutTrailingSeparator(folder), HomeDir);
}

bool Navigator::OpenFolderLevel(const QString &folder, int index, bool push)
{
    if (!entersFolder(folder)) {
        m_host->ShowFlashMessage(NavigationTexts::FolderOutsideRoot, 3000);
        return false;
    }
    completeTitles();
    if (push)
        keepCountOfShownLevel();
    CurDir = withoutTrailingSeparator(folder);
    // What a stopped rename left here is finished aside; the folder is shown as it stands.
    if (Beneath::exists(RenameRecord::path(CurDir)))
        m_host->renameLeftIn(CurDir);
    bool listed = false;
    int fileCount = 0;
    QStringList entries;
    QStringList titles;
    std::unique_ptr<LevelPrefetch> ahead = std::move(m_prefetch);
    const std::optional<LevelListing> given = std::exchange(m_listing, std::nullopt);
    const bool readAside = given && given->folder == CurDir;
    if (readAside) {
        listed = given->listed;
        fileCount = given->fileCount;
        entries = given->entries;
        titles = given->titles;
    }
    const bool readAhead =
        !readAside && ahead && ahead->folder() == CurDir && ahead->take(listed, fileCount, entries, titles);
    if (!readAhead && !readAside) {
        const QStringList names = listPageFiles(CurDir, &listed);
        fileCount = int(names.size());
        entries = pageListOrder(names, ExeBaseName);
    }
    if (listed)
        FileCountSeen = fileCount;
    m_countFolder = CurDir;
    if (!push && !m_levels.isEmpty())
        m_levels.pop();
    Level level;
    level.MidashiF = entries;
    level.PBan = std::max(0, index);
    level.folder = CurDir;
    level.fileCount = FileCountSeen;
    level.listsFolder = true;
    m_levels.push(level);
    if (readAside) {
        m_levels.top().MidashiT = titles;
        return listed;
    }
    if (!readAhead) {
        LoadPageTitles();
        return listed;
    }
    // The reading gave the first titles only: it owes this level the rest.
    if (titles.size() < entries.size()) {
        m_restFrom = titles.size();
        titles.resize(entries.size());
        m_restTitles = std::move(ahead);
    }
    m_levels.top().MidashiT = titles;
    return listed;
}

void Navigator::completeTitles() const
{
    if (!m_restTitles)
        return;
    const std::unique_ptr<LevelPrefetch> reading = std::move(m_restTitles);
    const QStringList rest = reading->takeRest();
    if (m_levels.isEmpty())
        return;
    QStringList &titles = m_levels.top().MidashiT;
    for (qsizetype i = 0; i < rest.size() && m_restFrom + i < titles.size(); ++i)
        titles[m_restFrom + i] = rest.at(i);
}

const QStringList &Navigator::entries() const
{
    static const QStringList none;
    return m_levels.isEmpty() ? none : m_levels.top().MidashiF;
}

QString Navigator::title(int i) const
{
    if (m_restTitles && i >= m_restFrom)
        completeTitles();
    return m_levels.isEmpty() ? QString() : m_levels.top().MidashiT.value(i);
}

void Navigator::readRemainingTitles()
{
    if (m_restTitles)
        m_restTitles->readRest();
}

void Navigator::prefetchLevel(const QString &folder)
{
    m_prefetch = std::make_unique<LevelPrefetch>(withoutTrailingSeparator(folder), ExeBaseName);
}

void Navigator::prefetchLevel(const QString &folder, std::unique_ptr<LevelPrefetch> started)
{
    if (started && started->folder() == withoutTrailingSeparator(folder) && started->exeBaseName() == ExeBaseName)
        m_prefetch = std::move(started);
    else
        prefetchLevel(folder);
}

void Navigator::forgetPrefetch()
{
    m_prefetch.reset();
}

void Navigator::useListing(LevelListing listing)
{
    listing.folder = withoutTrailingSeparator(listing.folder);
    m_listing = std::move(listing);
}

void Navigator::LoadPageTitles()
{
    completeTitles();
    if (m_levels.isEmpty())
        return;
    Level &level = m_levels.top();
    level.MidashiT = listingTitles(level.folder, level.MidashiF);
}

void Navigator::TiteleLoad(int index)
{
    completeTitles();
    if (index < 0 || m_levels.isEmpty() || index >= m_levels.top().MidashiT.size())
        return;
    if (isWebAddress(m_host->shownAddress()))
        return;
    m_levels.top().MidashiT[index] = reloadedTitle(entryPath(index));
}

int Navigator::PBan() const
{
    return m_levels.isEmpty() ? -1 : m_levels.top().PBan;
}

void Navigator::PBanSave(int index)
{
    if (!m_levels.isEmpty())
        m_levels.top().PBan = std::max(0, index);
}

int Navigator::PBanSu() const
{
    return m_levels.isEmpty() ? 0 : int(m_levels.top().MidashiF.size());
}

void Navigator::PushLevel(const QStringList &entries, const QStringList &titles, int index, CommandOrigin origin)
{
    completeTitles();
    Level level;
    level.MidashiF = entries;
    level.MidashiT = titles;
    // One title per entry, whatever the caller gave.
    while (level.MidashiT.size() < level.MidashiF.size())
        level.MidashiT << fileNameTitle(level.MidashiF.at(level.MidashiT.size()));
    level.MidashiT.resize(level.MidashiF.size());
    level.PBan = std::max(0, index);
    keepCountOfShownLevel();
    keepFileCountWithCurDir();
    level.folder = CurDir;
    level.origin = origin;
    level.fileCount = FileCountSeen;
    m_levels.push(level);
}

CommandOrigin Navigator::pageOrigin() const
{
    if (m_webChosePage || (!m_levels.isEmpty() && m_levels.top().origin == CommandOrigin::WebPage))
        return CommandOrigin::WebPage;
    return CommandOrigin::LocalPage;
}

void Navigator::movedOnBehalfOf(CommandOrigin origin)
{
    if (origin == CommandOrigin::WebPage)
        m_webChosePage = true;
}

// The level below a new one keeps the count last seen of its folder (an
// operation may have set it since), for the poll after RETURN.
void Navigator::keepCountOfShownLevel()
{
    if (!m_levels.isEmpty() && m_levels.top().folder == m_countFolder)
        m_levels.top().fileCount = FileCountSeen;
}

void Navigator::keepFileCountWithCurDir()
{
    if (m_countFolder == CurDir)
        return;
    bool listed = false;
    const int count = countPageFiles(CurDir, &listed);
    if (listed)
        FileCountSeen = count;
    m_countFolder = CurDir;
}

void Navigator::PopLevel()
{
    completeTitles();
    if (m_levels.height() < 2) {
        PBanSave(0);
        return;
    }
    m_levels.pop();
    // The count the poll compares belongs to the folder shown again.
    CurDir = m_levels.top().folder;
    FileCountSeen = m_levels.top().fileCount;
    m_countFolder = CurDir;
}

void Navigator::GoBackLevel()
{
    HighlightCurrent = true;
    PopLevel();
    m_host->ReMake();
}

void Navigator::GoHome()
{
    // Opening the home page may find its file gone and come back here: show
    // the placeholder rather than going round again.
    if (m_goingHome) {
        m_host->showNoPage();
        return;
    }
    m_goingHome = true;
    HighlightCurrent = true;
    m_restTitles.reset();
    m_levels.clear();
    CurDir = HomeDir;
    OpenFolderLevel(CurDir, 0, true);
    m_host->BuildPageButtons();
    m_host->ShowBrowserOnly(false);
    m_host->showFolderInTree(HomeDir);
    m_host->PageClick();
    m_goingHome = false;
}

bool Navigator::openAfterPageGone()
{
    if (m_rereadingGone || m_levels.isEmpty() || !m_levels.top().listsFolder)
        return false;
    m_rereadingGone = true;
    OpenFolderLevel(CurDir, PBan(), false);
    m_host->ReMake();
    m_host->ShowFlashMessage(NavigationTexts::FolderChanged, 3000);
    m_host->PageClick();
    m_rereadingGone = false;
    return true;
}

QString Navigator::entry(int i) const
{
    if (m_levels.isEmpty() || i < 0 || i >= m_levels.top().MidashiF.size())
        return {};
    return m_levels.top().MidashiF.at(i);
}

QString Navigator::entryPath(int i) const
{
    const QString path = entryLocalPath(CurDir, entry(i));
    // An entry written on Windows may spell the names in another case.
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QString found = findPathInRoot(HomeDir, path);
    return found.isEmpty() ? path : found;
}
