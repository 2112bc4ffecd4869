// Writers killed at random moments: whatever moment, a reader of the folder finds each
// file whole (an old version or the new one), and no half-written file under a name
// that a page list would show.
#include "core/app/atomicfile.h"
#include "core/commands/scriptvariables.h"
#include "core/editor/pagenote.h"
#include "core/navigation/navigator.h"
#include "core/navigation/pagelist.h"
#include "core/pages/pagefile.h"
#include "core/present/marker.h"
#include "core/tools/folderrename.h"
#include "core/tools/renameplan.h"
#include "tools/crashwriters.h"
#include "tools/sftpshare.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QMap>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <cctype>
#include <csignal>
#include <memory>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace CrashWriters;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString decodeCp932(const QByteArray &bytes, bool *ok)
{
    QStringDecoder decoder("CP932");
    const QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

// Opens folder as the window does, with root as the data root, once what a
// stopped rename left there is finished as the rename worker finishes it.
void openFolder(const QString &root, const QString &folder)
{
    settleRenameOnOpening(folder, root);
    Navigator nav;
    nav.HomeDir = root;
    nav.OpenFolderLevel(folder, 0, true);
}

// After renames, once the folder is opened again: every page and every note is
// there once, whole, and each page beside its own note.
QString renameProblem(const QString &dir)
{
    openFolder(dir, dir);
    QMap<int, int> pages, notes;
    QMap<int, QString> pageBase, noteBase;
    const QStringList all = QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : all) {
        if (name == u"started")
            continue;
        const QByteArray bytes = readAll(dir + u'/' + name);
        if (name.endsWith(u".html"_s)) {
            const PageText page = decodePageUtf8(bytes);
            const int version = page.ok() ? wholeVersion(page.text) : 0;
            ++pages[version];
            pageBase[version] = name.chopped(5);
        } else if (name.endsWith(u".%xt"_s)) {
            bool valid = false;
            const int version = wholeVersion(noteTextFromFile(bytes, &valid));
            ++notes[version];
            noteBase[version] = name.chopped(4);
        } else if (!name.startsWith(u'.')) {
            return u"a listed file was left behind: "_s + name;
        }
    }
    for (int page = 1; page <= RenamedPages; ++page) {
        if (pages.value(page) != 1 || notes.value(page) != 1)
            return QStringLiteral("page %1 is there %2 times, its note %3 times: ").arg(page).arg(pages.value(page))
                       .arg(notes.value(page)) + all.join(u", "_s);
        if (pageBase.value(page) != noteBase.value(page))
            return QStringLiteral("page %1 and its note are apart: ").arg(page) + all.join(u", "_s);
    }
    if (pages.contains(0) || notes.contains(0))
        return u"a page or note is not whole: "_s + all.join(u", "_s);
    return {};
}

// What a file of the reordered folder is: the word after its "ID:".
QString identity(const QByteArray &bytes)
{
    const qsizetype at = bytes.indexOf("ID:");
    qsizetype end = at + 3;
    while (at >= 0 && end < bytes.size() && std::isalnum(static_cast<unsigned char>(bytes.at(end))))
        ++end;
    return at < 0 ? QString() : QString::fromUtf8(bytes.mid(at + 3, end - at - 3));
}

// After reorders of A, once it is opened again: every page beside its note,
// nothing left hidden, and every page of the root leads to the pages and
// pictures it named, through any number of rotations.
QString reorderProblem(const QString &root)
{
    const QString a = root + u"/A"_s;
    openFolder(root, a);
    static const QRegularExpression link(u"(?:href|src)=\"([^\"]*)\" title=\"([^\"]*)\""_s);
    const QStringList all = QDir(a).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    int pages = 0;
    for (const QString &name : all) {
        // The lock a killed rename leaves is taken over by the next one, a
        // temporary file removed by the next writer.
        if (name.startsWith(u'.') && !name.startsWith(u".kavuno-renaming.lock"_s) && !AtomicFile::isTemporaryName(name))
            return u"left hidden: "_s + name;
        if (!name.endsWith(u".html"_s))
            continue;
        ++pages;
        const PageText page = decodePageUtf8(readAll(a + u'/' + name));
        bool valid = false;
        const QString note = noteTextFromFile(readAll(a + u'/' + name.chopped(5) + u".%xt"_s), &valid);
        if (!page.ok() || identity(page.text.toUtf8()) != identity(note.toUtf8())
            || !note.trimmed().endsWith(u"-note"_s))
            return name + u" is not whole or not beside its note"_s;
    }
    if (pages != ReorderedPages)
        return QStringLiteral("%1 pages").arg(pages);
    for (QDirIterator it(root, {u"*.html"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString page = it.next();
        const QString text = decodePageUtf8(readAll(page)).text;
        for (auto m = link.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch found = m.next();
            if (identity(readAll(QFileInfo(page).path() + u'/' + found.captured(1))) != found.captured(2))
                return page + u" names "_s + found.captured(1) + u" for "_s + found.captured(2);
        }
    }
    return {};
}

// What a reader of the folder finds after a kill; empty when all is well.
QString problemAfterKill(const QString &writer, const QString &dir)
{
    // A rename is settled when its folder is opened: then at most its lock
    // (and the lock guarding that lock's removal) and a stopped plan's
    // temporary are left hidden.
    if (writer == u"rename" || writer == u"reorder") {
        const QString folder = writer == u"rename" ? dir : dir + u"/A"_s;
        const QString problem = writer == u"rename" ? renameProblem(dir) : reorderProblem(dir);
        const QStringList hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"^\\."_s));
        if (problem.isEmpty() && hidden.size() > 3)
            return u"temporary files pile up: "_s + hidden.join(u", "_s);
        return problem;
    }
    const QStringList visible = QDir(dir).entryList(QDir::Files, QDir::Name);
    const QStringList all = QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    if (all.size() - visible.size() > 2)
        return u"temporary files pile up: "_s + all.join(u", "_s);
    QStringList allowed;
    if (writer == u"page")
        allowed = {PageName};
    else if (writer == u"note")
        allowed = {NoteName};
    else if (writer == u"variables")
        allowed = {VariablesName};
    else if (writer == u"placeholder")
        allowed = {u"_XXX.html"_s};
    else if (writer == u"marker")
        allowed = {u"$$$.$$$"_s};
    else if (writer == u"sjis")
        allowed = {SjisName};
    else if (writer == u"copy")
        allowed = {CopySourceName, CopyTargetName};
    else if (writer == u"answer")
        allowed = {AnswerCsvName};
    else if (writer == u"post")
        allowed = {PostPageName};
    else if (writer == u"pagecopy")
        allowed = {CopySourceName, PageName, NoteName};
    if (writer == u"pagecopy") {
        for (const QString &name : QDir(dir + u"/copy"_s).entryList(QDir::Files)) {
            if (!allowed.contains(name))
                return u"a listed file was left behind: copy/"_s + name;
            if (readAll(dir + u"/copy/"_s + name) != readAll(dir + u'/' + name))
                return u"copy/"_s + name + u" is not whole"_s;
        }
    }
    // What the level of this folder would list (and the poll count).
    for (const QString &name : pageListOrder(listPageFiles(dir), u"kavuno"_s)) {
        if (!allowed.contains(name))
            return u"a listed file was left behind: "_s + name;
    }
    for (const QString &name : visible) {
        if (!allowed.contains(name))
            continue;
        const QString path = dir + u'/' + name;
        const QByteArray bytes = readAll(path);
        if (writer == u"page" || writer == u"placeholder") {
            const PageText page = decodePageUtf8(bytes);
            if (!page.ok() || !page.hadBom || wholeVersion(page.text) == 0)
                return name + u" is not whole"_s;
        } else if (writer == u"note") {
            bool valid = false;
            if (wholeVersion(noteTextFromFile(bytes, &valid)) == 0 || !valid)
                return name + u" is not whole"_s;
        } else if (writer == u"variables") {
            bool ok = false;
            const QList<ScriptVariable> pairs = parseVariableLines(decodeCp932(bytes, &ok).split(u"\r\n"_s));
            if (!ok || !bytes.endsWith("\r\n"))
                return name + u" is not whole"_s;
            for (const ScriptVariable &pair : pairs) {
                if (pair.name == u"text" && wholeVersion(pair.value) == 0)
                    return name + u" lost part of its text"_s;
            }
        } else if (writer == u"marker") {
            if (!decodePresentationMarker(bytes).endsWith(u".html"_s))
                return u"the marker names no page"_s;
        } else if (writer == u"sjis") {
            const PageText converted = decodePageUtf8(bytes);
            bool ok = converted.ok() && converted.hadBom;
            QString text = converted.text;
            if (!ok)
                text = decodeCp932(bytes, &ok);
            if (!ok || wholeVersion(text) == 0 || !text.contains(u"</HTML>"_s))
                return name + u" is not whole"_s;
        } else if (writer == u"answer") {
            const QList<QByteArray> lines = bytes.mid(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0).split('\n');
            if (!bytes.endsWith("\r\n") || lines.first() != AnswerHeader.toUtf8() + "\r")
                return name + u" is not whole"_s;
            for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
                if (!lines.at(i).startsWith("A-") || !lines.at(i).endsWith(QByteArray(QString(200, QChar(0x3042)).toUtf8() + "\r")))
                    return name + u" has a torn row: "_s + QString::fromUtf8(lines.at(i));
            }
        } else if (writer == u"post") {
            const PageText page = decodePageUtf8(bytes);
            if (!page.ok() || !page.text.contains(u"お知らせ"_s) || !page.text.endsWith(u"</HTML>\r\n"_s))
                return name + u" is not whole"_s;
        } else if (writer == u"copy" && name == CopyTargetName) {
            if (bytes != copySource())
                return u"the copy is not whole"_s;
        }
    }
    return {};
}

} // namespace

class CrashSafetyTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase() { m_share.reset(); }

    void killedWriterLeavesWholeFiles_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("kills");
        QTest::addColumn<bool>("onShare");
        const QList<std::pair<const char *, QString>> writers{
            {"page save", u"page"_s},   {"note", u"note"_s},           {"variable file", u"variables"_s},
            {"placeholder page", u"placeholder"_s}, {"presentation marker", u"marker"_s},
            {"Shift_JIS conversion", u"sjis"_s}, {"batch copy", u"copy"_s}, {"answer append", u"answer"_s},
            {"post", u"post"_s}, {"page copy", u"pagecopy"_s}, {"numbered rename", u"rename"_s},
            {"reorder of pages naming each other", u"reorder"_s}};
        // 200 kills on the local disk, and a few on a network share.
        for (const auto &[name, writer] : writers) {
            QTest::addRow("%s, local", name) << writer << (writer.contains(u"copy"_s) ? 10 : 20) << false;
            QTest::addRow("%s, sshfs", name) << writer << 6 << true;
        }
    }

    void killedWriterLeavesWholeFiles()
    {
        QFETCH(QString, writer);
        QFETCH(int, kills);
        QFETCH(bool, onShare);
        if (onShare && !m_share) {
            m_share = std::make_unique<SftpShare>();
            m_shareProblem = m_share->start();
        }
        if (onShare && !m_shareProblem.isEmpty())
            QSKIP(qPrintable(u"SKIPPED on a network share: "_s + m_shareProblem));
        QTemporaryDir temp(onShare ? m_share->folder() + u"/crash-XXXXXX"_s : QDir::tempPath() + u"/crash-XXXXXX"_s);
        QVERIFY(temp.isValid());
        const QString dir = temp.path();
        // The folder as it stands before the kills: one write run to its end.
        QProcess first;
        first.start(QStringLiteral(KAVUNO_CRASHDRIVER), {writer, dir, u"1"_s});
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        auto *random = QRandomGenerator::global();
        for (int kill = 0; kill < kills; ++kill) {
            QProcess driver;
            driver.start(QStringLiteral(KAVUNO_CRASHDRIVER), {writer, dir});
            QVERIFY(driver.waitForStarted());
            // Every other run is killed only after its first whole write.
            if (kill % 2)
                QVERIFY(driver.waitForReadyRead(60000));
            // A reorder reads and rewrites hundreds of pages: it is stopped anywhere in them.
            QTest::qWait(random->bounded(1, writer == u"reorder" ? 400 : 60));
            ::kill(pid_t(driver.processId()), SIGKILL);
            QVERIFY(driver.waitForFinished());
            const QString problem = problemAfterKill(writer, dir);
            QVERIFY2(problem.isEmpty(), qPrintable(u"after kill "_s + QString::number(kill) + u": "_s + problem));
        }
    }

private:
    std::unique_ptr<SftpShare> m_share;
    QString m_shareProblem;
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "tst_crashsafety.moc"
