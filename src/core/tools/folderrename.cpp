#include "core/tools/folderrename.h"

#include "core/tools/fileuses.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

FolderRenameOutcome renameUsedFiles(const QString &folder, const QString &root, const QList<PageMove> &moves,
                                    Companions companions)
{
    const auto path = [&](const QString &name) -> QString { return folder + u'/' + name; };
    // What each move may take along: the page and the companions there are.
    const QSet<QString> there = FolderNames::list(folder);
    QList<QStringList> groups;
    QStringList paths;
    for (const PageMove &move : moves) {
        QStringList group{path(move.from)};
        for (const Companion kind : AllCompanions) {
            const QString companion = companionName(move.from, kind);
            if (companions.testFlag(kind) && companion != move.from && there.contains(companion))
                group << path(companion);
        }
        paths += group;
        groups << group;
    }
    const LinkResolver resolver(root, folder);
    const PageUses uses(pagesOfFolder(folder), paths, resolver);

    FolderRenameOutcome outcome;
    QList<PageMove> possible = moves;
    for (qsizetype i = 0; i < moves.size(); ++i) {
        for (const QString &file : std::as_const(groups.at(i))) {
            if (!uses.blocked(file))
                continue;
            // A move to its own name is none: the page stays where it is.
            possible[i].to = possible.at(i).from;
            outcome.kept << QFileInfo(file).fileName();
            for (const QString &page : uses.blockingPages(file))
                if (!outcome.keptFor.contains(page))
                    outcome.keptFor << page;
        }
    }
    outcome.moves = carryOutMoves(folder, possible, companions);
    QList<QPair<QString, QString>> renamed;
    QHash<QString, QString> now;
    for (const PageMove &move : std::as_const(outcome.moves.moved)) {
        renamed.append({path(move.from), path(move.to)});
        now.insert(path(move.from), path(move.to));
    }
    // The pages are told by the names they have now.
    for (QString &page : outcome.keptFor)
        page = now.value(page, page);
    outcome.pagesNotWritten = uses.rewrite(renamed);
    return outcome;
}
