// The browsers have loaded a document.
#include "ui/app/tform1.h"

#include "ui/bar/barstate.h"

#include <QWebEngineView>

void TForm1::WebBrowser1DocumentComplete()
{
    bar->afterLoad.documentComplete(WebBrowser1->url().toString());
}

void TForm1::WebBrowser2DocumentComplete()
{
    // One refresh per load: the refresh's own load ends here.
    if (bar->lowerPaneRefreshing) {
        bar->lowerPaneRefreshing = false;
        return;
    }
    bar->lowerPaneRefreshing = true;
    WebBrowser2->reload();
}
