// Opening the current page by its type: browser, picture view or open panel.
#include "ui/app/tform1.h"

#include "core/app/beneath.h"
#include "core/navigation/navigationtexts.h"
#include "core/navigation/pageopening.h"
#include "core/navigation/pathtext.h"
#include "core/pages/markers.h"
#include "core/pages/templates.h"
#include "core/present/updatepoll.h"
#include "platform/platform.h"
#include "ui/app/copydialog.h"
#include "ui/app/uitexts.h"
#include "ui/commands/commandpage.h"
#include "ui/navigation/pagebutton.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QMessageBox>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

void TForm1::PageClick(bool placeholder, bool open)
{
    // An index past the end (pages were removed) opens the first page, and the
    // position says so.
    if (nav.PBanSu() > 0 && nav.PBan() >= nav.PBanSu())
        nav.PBanSave(0);
    Panel1->hide();
    Panel8->setText(LastFolderName(nav.CurDir + u'/'));
    Panel7->setText(PageButtons.isEmpty() ? UiTexts::NoPositions
                                          : QString::number(nav.PBan() + 1) + UiTexts::PositionSeparator
                                                + QString::number(nav.PBanSu()));
    ScrollBox2->horizontalScrollBar()->setValue(0);
    ScrollBox2->verticalScrollBar()->setValue(0);
    SpeedButton8->hide();
    SpeedButton19->show();
    SpeedButton16->setEnabled(false);
    if (nav.PBan() < 0)
        return;

    PollPause pause(*this);
    // The drawing is over: the poll it held off runs again after the pause.
    Poll->pageOpened();
    PrevPageIndex = nav.PBan();
    if (CloseMediaPlayer)
        CloseMediaPlayer();
    kabeBrowser->show();
    DirIndexStep = 0;
    if (nav.PBanSu() < 1) {
        Panel10->hide();
        SpeedButton16->hide();
        showNoPage();
        setCaption(QString());
        return;
    }

    ShowBrowserOnly(false);
    stylePageButtons(nav.PBan());

    if (open) {
        nav.CommandCounter = 0;
        const QString entry = nav.currentEntry();
        bool gone = false;
        if (isWebAddress(entry)) {
            CurPageUrl = entry;
        } else {
            CurPagePath = nav.entryPath(nav.PBan());
            CurPageUrl = QUrl::fromLocalFile(CurPagePath).toString();
            // Another PC renamed or removed the page after its button was made.
            if (!Beneath::exists(CurPagePath)) {
                if (nav.openAfterPageGone())
                    return;
                gone = true;
            }
        }
        LastPageUrl = CurPageUrl;
        if (PageButton *button = PageButtons.value(nav.PBan())) {
            // The geometry of the current button, whatever HighlightCurrent says.
            markCurrentButton(nav.PBan());
            button->setFocus(Qt::OtherFocusReason);
            // The focus reaches an inactive window (the editor just closed) only later.
            ScrollBox1->ensureWidgetVisible(button, 0, 0);
        }
        if (RememberPageStamp)
            RememberPageStamp(CurPageUrl);

        if (placeholder) {
            Panel10->hide();
            SpeedButton16->hide();
            showNoPage();
        } else {
            DrawImagePath.clear();
            // A FIFO or a device under a page's name is only offered to open: the
            // browser would wait on it for ever.
            const PageKind kind = isWebAddress(entry)                 ? PageKind::Browser
                                  : !QFileInfo(CurPagePath).isFile() ? PageKind::OpenPanel
                                                                     : pageKindOf(CurPagePath);
            // A page gone, or a link a peer made to a file outside the data root, is
            // neither shown nor offered.
            const QString notice = gone                  ? fileNoticeHtml(CurPagePath, {NavigationTexts::PageGone})
                                   : isWebAddress(entry) ? QString()
                                                         : outsideRootPageHtml(CurPagePath, nav.HomeDir);
            if (!notice.isEmpty()) {
                SpeedButton16->hide();
                Panel10->hide();
                WebBrowser1->setHtml(notice);
            } else if (kind == PageKind::Picture) {
                showPicture(CurPagePath);
            } else if (kind == PageKind::OpenPanel) {
                showOpenPanel(CurPagePath);
            } else {
                showPage(CurPageUrl);
            }
        }
        setCaption(CurPageUrl);
    }

    if (FormTag > 0) {
        FormTag = 1;
        if (ShowPageNote)
            ShowPageNote();
        if (UpdateSoundButton)
            UpdateSoundButton();
    }
    FormTag = 1;
}

void TForm1::showPage(const QString &url)
{
    Panel10->hide();
    SpeedButton16->setVisible(pageExtension(url).contains(u".html"_s));
    const QUrl address = url.contains(u"://"_s) ? QUrl(url) : QUrl::fromLocalFile(url);
    CommandPage::load(WebBrowser1, address, nav.pageOrigin());
}

void TForm1::showNoPage()
{
    Panel10->hide();
    const QString path = NEWHTMLSAVE(nav.CurDir, Markers::StatusNoPage);
    // A folder we cannot write to still shows the page.
    if (!QFileInfo::exists(path))
        WebBrowser1->setHtml(progressPageText(Markers::StatusNoPage));
    else
        CommandPage::load(WebBrowser1, QUrl::fromLocalFile(path), CommandOrigin::LocalPage);
}

void TForm1::showPicture(const QString &path)
{
    // The view takes its size only once it is shown.
    Panel10->setGeometry(kabe->rect());
    Panel10->show();
    Panel10->raise();
    Panel10->layout()->activate();
    const QImage scaled = pictureForView(path, ScrollBox2->viewport()->width());
    const QPixmap shown = QPixmap::fromImage(scaled);
    // A picture that cannot be shown is still offered to open or copy.
    if (shown.isNull())
        return showOpenPanel(path);
    SpeedButton16->hide();
    if (SpeedButton22)
        SpeedButton22->show();
    DrawImagePath = path;
    Image11->setPixmap(shown);
    Image11->resize(scaled.size());
    Image11->move(0, 0);
}

void TForm1::showOpenPanel(const QString &path)
{
    SpeedButton16->hide();
    Panel10->hide();
    Panel1Caption->setText(fileNameOf(path));
    Label1->setText(path);
    placeOpenPanelButtons();
    Panel1->show();
    Panel1->raise();
}

void TForm1::SpeedButton3Click()
{
    // Without a program for the file the desktop says nothing itself.
    if (!platform.openWithShell(Label1->text()))
        QMessageBox::warning(this, nav.ExeBaseName, UiTexts::CannotOpenFile);
}

void TForm1::SpeedButton4Click()
{
    const QString from = Label1->text();
    QFileDialog dialog(this, UiTexts::CopyButton);
    dialog.setObjectName(u"SavePictureDialog1"_s);
    prepareCopyDialog(dialog, from, platform.desktopFolder());
    // The dialog asks before replacing a file the user chose.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString to = dialog.selectedFiles().first();
    if (!from.isEmpty() && !to.isEmpty() && !platform.copyFile(from, to, true))
        QMessageBox::warning(this, nav.ExeBaseName, UiTexts::CopyFailed.arg(to));
}

int TForm1::CurrentPagePos(const QString &url) const
{
    return ::CurrentPagePos(url, nav.CurDir, nav.currentEntry(), nav.PBan() >= 0 && nav.PBanSu() > 0, Caption);
}

void TForm1::RecycleFile(const QString &fileName)
{
    const auto answer = QMessageBox::question(this, nav.ExeBaseName, UiTexts::AskRecycle.arg(fileName));
    if (answer == QMessageBox::Yes && !platform.moveToTrash({fileName}).isEmpty())
        QMessageBox::warning(this, nav.ExeBaseName, UiTexts::RecycleFailed.arg(fileName));
    PageClick();
}
