// The editor's ways into the main window.
#include "ui/app/tform1.h"
#include "ui/editor/editlaunch.h"
#include "ui/editor/editlaunchwiring.h"
#include "ui/editor/tform2.h"

#include "ui/app/fakeplatform.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "ui/editor/modaluser.h"
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class EditLaunchWiringTest : public QObject
{
    Q_OBJECT
private slots:
    void newPageFromTheMenuIsWrittenByTheEditorAndListed()
    {
        QTemporaryDir dir;
        QVERIFY(copyExamples(dir.filePath(u"web"_s)));
        FakePlatform platform;
        TForm1 form1(platform, dir.filePath(u"web.exe"_s));
        form1.show();
        form1.FormShow();
        TForm2 editor(&form1);
        const auto launcher = attachEditLauncher(form1, editor);

        auto *edit = form1.findChild<QToolButton *>(u"SpeedButton15"_s);
        QVERIFY(edit);
        QCOMPARE(edit->toolTip(), u"ページの編集"_s);
        auto *menu = form1.PopupMenu2->findChild<QMenu *>(u"NewPageMenu"_s);
        QVERIFY(menu);
        QCOMPARE(menu->title(), u"新規ページ作成"_s);
        QAction *below = menu->findChild<QAction *>(u"N2"_s);
        QVERIFY(below);
        QCOMPARE(below->text(), u"下に作成"_s);
        QCOMPARE(menu->findChild<QAction *>(u"N8"_s)->text(), u"上に作成"_s);

        form1.SearchIndexKey = u"folder"_s;
        const int pages = form1.nav.PBanSu();
        const ModalUser user(editor, [&] {
            editor.Edit1->setText(u"新しいページ"_s);
            editor.BitBtn4Click();
        });
        below->trigger();

        QCOMPARE(form1.nav.PBanSu(), pages + 1);
        const QStringList made = QDir(dir.filePath(u"web"_s)).entryList({u"2*.html"_s}, QDir::Files);
        QCOMPARE(made.size(), 1);
        QVERIFY(form1.nav.levels().top().MidashiT.contains(u"新しいページ"_s));
        QVERIFY(form1.isEnabled());
        QCOMPARE(form1.SearchIndexKey, u"xxx"_s);
    }
};

QTEST_MAIN(EditLaunchWiringTest)
#include "tst_editlaunchwiring.moc"
