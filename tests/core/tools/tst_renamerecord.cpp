// The record of a rename is one codec: whatever plan the planner makes, and
// wherever its steps have left each file, the record read back says the same.
#include "core/tools/renamerecord.h"


#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Pieces of names the planner meets: marks a browser reads as a fragment, a
// query or an escape, blanks, and names of the legacy code page.
const QStringList NamePieces{u"page"_s, u"q#"_s, u"what?"_s, u"7%41"_s, u"a&b"_s, u"my pic"_s, u"写真"_s,
                             u"①"_s,    u"髙"_s,  u"～"_s,    u"ﾃｽﾄ"_s, u"(101)"_s, u"$"_s,    u"."_s};

QString pieceOf(QRandomGenerator &random)
{
    return NamePieces.at(random.bounded(int(NamePieces.size())));
}

// A folder's names and the page moves of one plan, made from random pieces:
// pages with notes, sounds (listed as pages too), answer sheets, drawings and
// sub-folders; moves that swap names round, and moves to a page's own name
// (a page kept for a page that cannot be rewritten).
struct GeneratedPlan
{
    Companions companions;
    QList<RenameGroup> groups;
};

GeneratedPlan generatePlan(QRandomGenerator &random)
{
    QSet<QString> names;
    QStringList pages;
    const int count = random.bounded(1, 9);
    for (int p = 0; p < count; ++p) {
        const QString base = QString::number(1000 + 10 * p) + u'_' + pieceOf(random) + pieceOf(random);
        const QString page = base + (random.bounded(4) == 0 ? u".htm"_s : u".html"_s);
        pages << page;
        names.insert(page);
        for (const Companion kind : AllCompanions)
            if (random.bounded(3) == 0)
                names.insert(companionName(page, kind));
        if (random.bounded(5) == 0) {
            // A sound that is listed as a page of its own.
            pages << companionName(page, Companion::Sound);
            names.insert(pages.constLast());
        }
    }
    QList<PageMove> moves;
    QStringList targets = pages;
    for (qsizetype i = targets.size() - 1; i > 0; --i)
        targets.swapItemsAt(i, random.bounded(int(i) + 1));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString to = random.bounded(4) == 0 ? pages.at(i) : u"n"_s + QString::number(i) + pieceOf(random) + targets.at(i);
        moves.append({pages.at(i), to});
    }
    GeneratedPlan plan;
    plan.companions = Companions::fromInt(random.bounded(32));
    plan.groups = groupMoves(names, moves, plan.companions);
    return plan;
}

// Where a run may have left an item: its first name, its target, or a
// hidden folder of a run.
QString somewhereFor(const PageMove &item, QRandomGenerator &random)
{
    switch (random.bounded(3)) {
    case 0:
        return item.from;
    case 1:
        return item.to;
    default:
        return u".kavuno-rename-"_s + QString::number(random.generate(), 16) + u'/' + item.from;
    }
}

// Where a plan's items stand before its first move; at where() when given.
QList<QStringList> placesOf(const QList<RenameGroup> &groups, const std::function<QString(const PageMove &)> &where = {})
{
    QList<QStringList> places;
    for (const RenameGroup &group : groups) {
        QStringList current;
        for (const PageMove &item : group.items)
            current << (group.takenAlong ? item.to : where ? where(item) : item.from);
        places << current;
    }
    return places;
}

QByteArray hashOf(QRandomGenerator &random)
{
    return RenameRecord::hashOf(QByteArray::number(random.generate()));
}

} // namespace

class RenameRecordTest : public QObject
{
    Q_OBJECT
private slots:
    // A record written for any plan the planner makes, with its items
    // anywhere and pages rewritten, reads back as written.
    void everyPlanReadsBackAsWritten()
    {
        QRandomGenerator random(20250405);
        for (int round = 0; round < 500; ++round) {
            const GeneratedPlan plan = generatePlan(random);
            RenameRecordState state;
            state.companions = plan.companions;
            state.groups = plan.groups;
            state.current = placesOf(plan.groups, [&](const PageMove &item) { return somewhereFor(item, random); });
            for (int page = random.bounded(4); page > 0; --page)
                state.pages << u"B/"_s + pieceOf(random) + QString::number(page) + u".html"_s;
            if (!state.pages.isEmpty() && random.bounded(2)) {
                state.lastHash = hashOf(random);
                state.lastOldHash = hashOf(random);
            }
            const std::optional<RenameRecordState> read = RenameRecord::decode(RenameRecord::encode(state));
            QVERIFY2(read, qPrintable(u"round %1"_s.arg(round)));
            QCOMPARE(*read, state);
        }
    }

    // Written step by step in a folder as a rename writes it (its lock held),
    // then read as the next holder of the lock reads it.
    void recordWrittenStepByStepReadsBack()
    {
        QRandomGenerator random(77);
        for (int round = 0; round < 60; ++round) {
            QTemporaryDir dir;
            FolderRenameLock lock(dir.path());
            QVERIFY(lock.acquire(0));
            const GeneratedPlan plan = generatePlan(random);
            RenameRecord record(dir.path());
            QVERIFY(record.begin(plan.companions, plan.groups));
            RenameRecordState expected;
            expected.companions = plan.companions;
            expected.groups = plan.groups;
            expected.current = placesOf(plan.groups);
            for (qsizetype g = 0; g < plan.groups.size(); ++g) {
                for (qsizetype i = 0; i < plan.groups.at(g).items.size(); ++i) {
                    if (plan.groups.at(g).takenAlong || random.bounded(2))
                        continue;
                    const QString to = somewhereFor(plan.groups.at(g).items.at(i), random);
                    QVERIFY(record.moving(g, i, to));
                    expected.current[g][i] = to;
                }
            }
            // The last step a page: nothing the folder would have to tell.
            const QString page = u"B/"_s + pieceOf(random) + u".html"_s;
            expected.pages << page;
            expected.lastOldHash = hashOf(random);
            expected.lastHash = hashOf(random);
            QVERIFY(record.rewriting(page, expected.lastOldHash, expected.lastHash));
            RenameRecordState read;
            QCOMPARE(RenameRecord(dir.path()).look(&read, true), RenameRecord::Found::Stopped);
            QCOMPARE(read, expected);
            // Gone on with by the next holder: written anew, it says the same.
            RenameRecord next(dir.path());
            QVERIFY(next.resume(read));
            RenameRecordState again;
            QCOMPARE(RenameRecord(dir.path()).look(&again, true), RenameRecord::Found::Stopped);
            QCOMPARE(again, expected);
        }
    }
};

QTEST_GUILESS_MAIN(RenameRecordTest)
#include "tst_renamerecord.moc"
