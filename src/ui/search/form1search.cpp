// The main window's side of the search window and of the keyword links.
#include "core/navigation/pathtext.h"
#include "core/search/looklinks.h"
#include "core/search/lookpage.h"
#include "core/search/searchtexts.h"
#include "ui/app/tform1.h"
#include "ui/search/tform4.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>

using namespace Qt::StringLiterals;

// As long as a post waits for the same page.
static constexpr int LookLockTimeoutMs = 3000;

void TForm1::Find1Click()
{
    if (!Form4)
        return;
    Form4->Edit2 = nav.CurDir + u'/';
    Form4->Tag = 0;
    Form4->Edit1->clear();
    // The preview shows its entries as the open page; without a new level
    // the page that was open stays the one presenting and drawing act on.
    const QString path = CurPagePath, url = CurPageUrl, last = LastPageUrl;
    pausePoll();
    const bool chosen = Form4->showModalSearch() == QDialog::Accepted;
    resumePoll();
    if (!chosen || Form4->ListBox1.isEmpty()) {
        CurPagePath = path;
        CurPageUrl = url;
        LastPageUrl = last;
        return;
    }
    QStringList paths, titles;
    for (const SearchEntry &e : std::as_const(Form4->ListBox1)) {
        paths << e.path;
        titles << e.title;
    }
    // The entry previewed last opens, by its place in the list: two pages of
    // one name in different folders are two entries.
    nav.PushLevel(paths, titles, Form4->previewedIndex());
    ReMake();
    PageClick(false, true);
}

// The keyword index of the current folder, refreshed through the search window.
static SearchListing lookKeywordIndex(TForm1 &form)
{
    SearchListing index;
    if (form.Form4) {
        form.Form4->Tag = 2;
        form.setEnabled(false);
        index = form.Form4->runWithoutShowing();
        QCoreApplication::processEvents();
        form.setEnabled(true);
    }
    return index;
}

QString TForm1::BuildLookLinks(int mode, const QString &text)
{
    if (mode == 1)
        return removeLookLinks(text);
    const QString result = addLookLinks(text, lookKeywordIndex(*this), nav.currentEntry());
    QCoreApplication::processEvents();
    return result;
}

static void rewriteCurrentPage(TForm1 &form, int mode)
{
    const QString entry = form.nav.currentEntry();
    if (form.nav.PBanSu() == 0 || form.nav.PBan() < 0 || entry.contains(u"http:"_s) || isWebAddress(entry))
        return;
    const QString path = form.nav.entryPath(form.nav.PBan());
    // The walk (which lets events run) comes first; the page is read, changed and
    // written after it under the page's lock, so that a post landing meanwhile stays.
    const SearchListing index = mode == 0 ? lookKeywordIndex(form) : SearchListing();
    LookLinksEnd end = LookLinksEnd::Done;
    QString lockFailure;
    const LookPageResult result = rewriteLookLinks(path, [&](const QString &text) {
        return mode == 0 ? addLookLinks(text, index, entry, &end) : removeLookLinks(text, &end);
    }, LookLockTimeoutMs, &lockFailure);
    const QString name = fileNameOf(path);
    if (result == LookPageResult::Written && end != LookLinksEnd::Done) {
        const QString &text = end == LookLinksEnd::Stopped ? SearchTexts::LinksStopped
                              : mode == 0                  ? SearchTexts::LinksUnread
                                                           : SearchTexts::LinksNotRemoved;
        QMessageBox::information(&form, form.nav.ExeBaseName, text.arg(name));
    } else if (result == LookPageResult::Unreadable)
        QMessageBox::warning(&form, form.nav.ExeBaseName, SearchTexts::UnreadablePage.arg(name));
    else if (result == LookPageResult::Undecodable)
        QMessageBox::warning(&form, form.nav.ExeBaseName, SearchTexts::UndecodablePage.arg(name));
    else if (result == LookPageResult::WriteFailed)
        QMessageBox::warning(&form, form.nav.ExeBaseName,
                             QString(SearchTexts::WriteFailed.arg(name) + u'\n' + lockFailure).trimmed());
    else if (result == LookPageResult::Busy)
        QMessageBox::warning(&form, form.nav.ExeBaseName, SearchTexts::PageBusy.arg(name));
    else if (result == LookPageResult::Changed)
        QMessageBox::warning(&form, form.nav.ExeBaseName, SearchTexts::PageChanged.arg(name));
    form.PageClick(false, true);
}

void TForm1::AddLookLinks()
{
    rewriteCurrentPage(*this, 0);
}

void TForm1::RemoveLookLinks()
{
    rewriteCurrentPage(*this, 1);
}
