#include "core/commands/commandinterpreter.h"

#include "core/app/beneath.h"
#include "core/commands/answersheet.h"
#include "core/commands/blankpicture.h"
#include "core/commands/commandhost.h"
#include "core/commands/commandline.h"
#include "core/commands/commandparse.h"
#include "core/commands/commandtexts.h"
#include "core/commands/keywordlookup.h"
#include "core/commands/scriptvariables.h"
#include "core/navigation/navigator.h"
#include "core/navigation/navigatorhost.h"
#include "core/navigation/pathtext.h"
#include "core/pages/picturefile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

constexpr int ProgramFlashMs = 1700;
constexpr int MessageFlashMs = 2000;

// A file a command names in folder does not reach out of it through a symbolic
// link another PC made; a name written as absolute (the desktop) is as written.
bool reachesOut(const QString &file, const QString &folder)
{
    return file.startsWith(folder + u'/') && !staysInRoot(file, folder);
}

// Creates the folder of a file when it is missing (one level only).
void makeParentFolder(const QString &file)
{
    Beneath::makeFolder(QFileInfo(file).absolutePath());
}

} // namespace

CommandInterpreter::CommandInterpreter(Navigator &navigator, CommandHost &host, int *dirIndexStep,
                                       QString *historyPath)
    : m_ownHistoryPath(CommandTexts::InitialHistoryPath)
    , DirIndexStep(dirIndexStep ? *dirIndexStep : m_ownDirIndexStep)
    , HistoryPath(historyPath ? *historyPath : m_ownHistoryPath)
    , m_nav(navigator)
    , m_host(host)
{
}

bool CommandInterpreter::runAddress(const QString &address, CommandOrigin origin)
{
    const std::optional<QString> line = commandLineFromAddress(address);
    if (!line)
        return false;
    RunCommandLine(*line, origin);
    return true;
}

void CommandInterpreter::RunCommandLine(const QString &line, CommandOrigin origin)
{
    for (const QString &command : splitCommandLine(line)) {
        QString c = command;
        switch (commandKind(c)) {
        case CommandKind::Empty:
            m_host.FindInPage(QString(), false);
            m_nav.host()->ReMake();
            m_host.refreshPage();
            return;
        case CommandKind::Conditional:
            c = chooseByCounter(c, m_nav.CommandCounter);
            if (c.isEmpty())
                continue;
            break;
        case CommandKind::Counter:
        case CommandKind::Word:
            break;
        }
        if (commandKind(c) == CommandKind::Counter) {
            const std::optional<int> counter = applyCounter(c, m_nav.CommandCounter);
            if (!counter) {
                m_nav.host()->ShowFlashMessage(CommandTexts::BadNumber + c, MessageFlashMs);
                return;
            }
            m_nav.CommandCounter = *counter;
            continue;
        }
        if (!TXTcommand(c, origin))
            return;
    }
}

bool CommandInterpreter::TXTcommand(const QString &command, CommandOrigin origin)
{
    using namespace CommandWords;
    if (m_nav.PBan() < 0)
        return true;
    const ParsedCommand c = parseCommand(command, m_host.desktopFolder());
    const QString &w = c.word;
    if (origin == CommandOrigin::WebPage && !wordAllowedFromWeb(w))
        return true;
    // What a web page moves to opens on the web's behalf: a local page it
    // picks must not run its own commands with a local page's rights.
    m_nav.movedOnBehalfOf(origin);

    if (w == Next) {
        next();
        openPage();
    } else if (w == Back) {
        back();
        openPage();
    } else if (w == Top) {
        m_nav.PBanSave(0);
        openPage();
    } else if (w == Home) {
        m_nav.GoHome();
        openPage();
    } else if (w == Go || w == GoSub) {
        goToName(c.rest, w == GoSub);
        openPage();
    } else if (w == Return) {
        m_nav.PopLevel();
        m_nav.host()->ReMake();
        openPage();
    } else if (w == Look) {
        look(c.rest, origin);
    } else if (w == Answer) {
        answer();
    } else if (w == DirLevel) {
        enterFolder(c.rest);
        openPage();
    } else if (w == DirExplore) {
        m_host.exploreFolder(m_nav.CurDir + u'/' + toSlashes(c.rest));
    } else if (w == Wav) {
        const QString file = soundCommandPath(c.rest, m_nav.CurDir);
        if (!file.isEmpty() && !reachesOut(file, m_nav.CurDir))
            m_host.RecordSound(file);
    } else if (w == Paint) {
        paint(c.rest);
    } else if ((w == Save || w == Copy || w == Js) && (c.argument(1).isEmpty() || c.argument(2).isEmpty())) {
        relistFolder();
        openPage();
    } else if (w == Save) {
        return save(c);
    } else if (w == Copy) {
        return copy(c);
    } else if (w == Js) {
        // A variable file named by a page stays in the page's folder.
        const QString file = m_nav.CurDir + u'/' + toSlashes(c.argument(1));
        if (staysInFolder(c.argument(1)) && !reachesOut(file, m_nav.CurDir))
            setVariable(file, c.argument(2));
    } else if (w == HisJs) {
        const QString file = m_nav.CurDir + u'/' + toSlashes(HistoryPath) + CommandTexts::HistoryExtension;
        if (!c.argument(1).isEmpty() && !reachesOut(file, m_nav.CurDir)) {
            Beneath::makeFolder(m_nav.CurDir + u'/' + CommandTexts::HistoryFolder);
            setVariable(file, c.argument(1));
        }
    } else if (w == His) {
        selectHistory(c.rest);
    } else if (w.contains(u'.')) {
        return runProgram(c);
    } else {
        m_host.FindInPage(command, true);
    }
    return true;
}

void CommandInterpreter::openPage()
{
    m_nav.host()->PageClick();
}

void CommandInterpreter::relistFolder()
{
    m_nav.OpenFolderLevel(m_nav.CurDir, m_nav.PBan(), false);
    m_nav.host()->ReMake();
}

void CommandInterpreter::next()
{
    if (m_nav.PBan() >= m_nav.PBanSu() - 1)
        m_nav.GoBackLevel();
    else
        m_nav.PBanSave(m_nav.PBan() + 1);
}

void CommandInterpreter::back()
{
    // On a level without pages the index stays 0, so that later commands run.
    const int index = m_nav.PBan();
    m_nav.PBanSave(index > 0 ? index - 1 : std::max(0, m_nav.PBanSu() - 1));
}

bool CommandInterpreter::goToName(const QString &name, bool sub)
{
    const Level &top = m_nav.levels().top();
    const int found = findPageByName(top.MidashiF, name);
    if (found < 0)
        return false;
    if (sub) {
        const Level copy = top;
        m_nav.PushLevel(copy.MidashiF, copy.MidashiT, found, copy.origin);
        m_nav.host()->ReMake();
    } else {
        m_nav.PBanSave(found);
    }
    return true;
}

void CommandInterpreter::look(const QString &keyword, CommandOrigin origin)
{
    if (!m_lookup)
        return;
    const KeywordResult result = m_lookup->lookUp(keyword, m_nav.entryPath(m_nav.PBan()).toUpper());
    // Without a result the page stays as it is, rather than an empty level.
    if (result.paths.isEmpty())
        return;
    m_nav.PushLevel(result.paths, result.titles, 0);
    m_nav.host()->ReMake();
    const QString first = result.firstAddress.isEmpty() ? result.paths.first() : result.firstAddress;
    TXTcommand(CommandWords::Go + u' ' + pathWithoutExtension(fileNameOf(first)), origin);
}

void CommandInterpreter::answer()
{
    if (!m_answerSheet)
        return;
    const QString entry = m_nav.currentEntry();
    if (entry.contains(u"http:"_s, Qt::CaseInsensitive) || isWebAddress(entry))
        return;
    m_answerSheet->showAnswerSheet(m_nav.entryPath(m_nav.PBan()));
}

void CommandInterpreter::enterFolder(const QString &rest)
{
    QString folder = dirCommandFolder(rest, m_nav.CurDir, m_nav.HomeDir);
    // A folder named on Windows may be spelt in another case.
    if (!QFileInfo(folder).isDir()) {
        const QString found = findPathInRoot(m_nav.HomeDir, folder, true);
        if (!found.isEmpty())
            folder = found;
    }
    // A folder that is not entered leaves the level where it was.
    if (m_nav.entersFolder(folder))
        m_nav.PBanSave(m_nav.PBan() + DirIndexStep);
    m_nav.OpenFolderLevel(folder, 0, true);
    m_nav.host()->ReMake();
}

void CommandInterpreter::paint(const QString &rest)
{
    const QString picture = paintCommandPath(rest, m_nav.CurDir);
    if (picture.isEmpty() || reachesOut(picture, m_nav.CurDir))
        return;
    if (!QFileInfo::exists(picture))
        writeBlankBitmap(picture);
    m_host.startPaint(picture);
}

bool CommandInterpreter::save(const ParsedCommand &command)
{
    // Refused like any name that leaves its folder; the rest of the line may rely on it.
    if (leavesByDotDot(command.argument(2)))
        return false;
    const QString target = commandFilePath(command.argument(2), m_nav.CurDir);
    if (reachesOut(target, m_nav.CurDir))
        return false;
    makeParentFolder(target);
    const FetchResult result =
        m_host.download(downloadAddress(command.argument(1)), target, [this](qint64 received) {
            m_host.setCaption(QString::number(received) + CommandTexts::DownloadProgress);
        });
    m_host.setCaption(m_nav.host()->shownAddress());
    if (result == FetchResult::WriteFailed) {
        // The rest of the line may rely on the file: it does not run.
        m_nav.host()->ShowFlashMessage(CommandTexts::CannotSave + target, MessageFlashMs);
        return false;
    }
    return true;
}

bool CommandInterpreter::copy(const ParsedCommand &command)
{
    if (leavesByDotDot(command.argument(1)) || leavesByDotDot(command.argument(2)))
        return false;
    const QString source = commandFilePath(command.argument(1), m_nav.CurDir);
    const QString target = commandFilePath(command.argument(2), m_nav.CurDir);
    if (reachesOut(source, m_nav.CurDir) || reachesOut(target, m_nav.CurDir))
        return false;
    makeParentFolder(target);
    m_host.copyFile(source, target);
    return true;
}

void CommandInterpreter::setVariable(const QString &fileName, const QString &expression)
{
    m_host.processEvents();
    Beneath::makeFolder(m_nav.CurDir + u'/' + CommandTexts::HistoryFolder);
    switch (setScriptVariable(fileName, expression)) {
    case VariableResult::DeleteRequested:
        if (Beneath::exists(fileName) && !m_host.moveToTrash(fileName))
            m_nav.host()->ShowFlashMessage(fileNameOf(fileName) + CommandTexts::CannotDelete, MessageFlashMs);
        openPage();
        break;
    case VariableResult::Unreadable:
        m_nav.host()->ShowFlashMessage(fileNameOf(fileName) + CommandTexts::VariableFileUnreadable, MessageFlashMs);
        break;
    case VariableResult::Written:
    case VariableResult::WriteFailed: // a folder without history files: silently nothing
        break;
    }
}

void CommandInterpreter::selectHistory(const QString &name)
{
    HistoryPath = historyPathFor(name);
    Beneath::makeFolder(m_nav.CurDir + u'/' + CommandTexts::HistoryFolder);
    const QString src = HistoryPath + CommandTexts::HistoryExtension;
    const Level &top = m_nav.levels().top();
    for (int i = 0; i < top.MidashiF.size(); ++i) {
        if (!isHistoryPage(top.MidashiF.at(i)))
            continue;
        const QString page = m_nav.entryPath(i);
        if (!page.isEmpty())
            repointHistoryPage(page, src);
    }
}

bool CommandInterpreter::runProgram(const ParsedCommand &command)
{
    if (leavesByDotDot(command.word))
        return false;
    const ProgramCall call = programCall(command.tokens, m_nav.CurDir, m_nav.HomeDir);
    m_nav.host()->ShowFlashMessage(call.program + u'\u3000', ProgramFlashMs);
    m_host.runProgram(call);
    relistFolder();
    openPage();
    return true;
}
