#include "ui/search/searchwiring.h"

#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"
#include "ui/editor/editlaunch.h"
#include "ui/search/tform4.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>

SearchWindowLookup::SearchWindowLookup(TForm1 &main, TForm4 &window)
    : m_main(main)
    , m_window(window)
{
}

KeywordResult SearchWindowLookup::lookUp(const QString &keyword, const QString &excludedPage)
{
    m_window.Tag = 1;
    m_window.Label2 = excludedPage;
    m_window.Edit1->setText(keyword);
    // The walk lets events run; the main window takes no input meanwhile.
    m_main.setEnabled(false);
    const SearchListing hits = m_window.runWithoutShowing();
    m_main.setEnabled(true);
    QCoreApplication::processEvents();
    KeywordResult result;
    for (const SearchEntry &e : hits) {
        result.paths << e.path;
        result.titles << e.title;
    }
    if (!hits.isEmpty())
        result.firstAddress = QUrl::fromLocalFile(m_window.SearchRoot + hits.first().path).toString();
    return result;
}

std::unique_ptr<SearchWindowLookup> attachSearchWindow(TForm1 &form1, TForm4 &form4, MainWindowEditHost *launcher)
{
    form1.Form4 = &form4;
    auto lookup = std::make_unique<SearchWindowLookup>(form1, form4);
    if (auto *commands = form1.findChild<LinkCommands *>())
        commands->interpreter().setKeywordLookup(lookup.get());
    // The page menu's rows "LOOK自動リンク" and "LOOKの削除".
    form1.popupActions.AddLookLinks = [main = &form1] { main->AddLookLinks(); };
    form1.popupActions.RemoveLookLinks = [main = &form1] { main->RemoveLookLinks(); };
    if (launcher) {
        TForm1 *main = &form1;
        launcher->buildLookLinks = [main](int mode, const QString &text) { return main->BuildLookLinks(mode, text); };
    }
    return lookup;
}
