// The browsers have loaded a document.
#include "ui/app/tform1.h"

#include "ui/bar/barstate.h"
#include "ui/commands/commandpage.h"

#include <QWebEngineView>

void TForm1::WebBrowser1DocumentComplete()
{
    bar->afterLoad.documentComplete(WebBrowser1->url().toString());
}

void TForm1::WebBrowser2DocumentComplete()
{
    // One refresh per document the pane goes to. A navigation the gate turned
    // into a command (a page's script following a "$" link) ends here too but
    // brings no new document: refreshing it would let the script go round again.
    const CommandPage *page = CommandPage::of(WebBrowser2);
    const int serial = page ? page->loadSerial() : bar->lowerPaneSerial + 1;
    if (serial == bar->lowerPaneSerial)
        return;
    bar->lowerPaneSerial = serial;
    // The refresh's own load ends here.
    if (bar->lowerPaneRefreshing) {
        bar->lowerPaneRefreshing = false;
        return;
    }
    bar->lowerPaneRefreshing = true;
    WebBrowser2->reload();
}
