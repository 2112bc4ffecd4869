#pragma once

#include "core/commands/commandorigin.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Navigator;

// What happens after the main browser has loaded a document, as far as it is
// text: the kind of the document, the lower-pane copy of answer pages, and link
// pages (pages holding "【リンク】" whose links are taken over instead of shown).

namespace LinkPageText {
inline const QString Marker = QStringLiteral("【リンク】");
inline const QString NotLink = QStringLiteral("NOTLINK");
} // namespace LinkPageText

// The upper-cased extension of a loaded address: from its last "." when no
// "\", "/" or ":" follows; empty without one.
QString documentKind(const QString &locationUrl);
// ".HTM" in the kind: a page (the post button is enabled, its text is read).
bool isPageKind(const QString &kind);
// Pages, ".JTD" and ".PDF" documents get the caption, counter and focus update.
bool isProcessedKind(const QString &kind);

// Answer pages get a copy in the lower pane: the first href value (lower-cased
// text) holding both "$" and "【".
bool wantsLowerPaneCopy(const QString &pageText);

// The first "&amp;" of a page text becomes "&" before the links are read.
QString replaceFirstAmp(const QString &pageText);

// "【リンク】" in the text and no "NOTLINK" anywhere (case as written).
bool isLinkPage(const QString &pageText);

struct LinkPageLink
{
    QString target; // the href value as written
    QString label;  // the text after the next "【リンク】" up to "<", empty without one
    QString text;   // the link's own text, "【リンク】" included
};

// Every quoted href of the text in order; "HREF=" counts as "href=".
QList<LinkPageLink> linkPageLinks(const QString &pageText);

struct LinkPagePlan
{
    enum Kind {
        None,       // an ordinary page
        RunCommand, // one command link: commandLine goes to the command runner
        Follow,     // one link: open target in place of the page
        Level       // several links: a level of entries and titles, index 0
    };
    Kind kind = None;
    QString commandLine;
    QString target;
    QString label;
    QStringList entries;
    QStringList titles;
};

// The expansion of a link page loaded from locationUrl. A single link is
// resolved against that address (a relative link of a page in a sub-folder or
// on a server then opens the right file); links of a level stay relative
// unless the page came from the web, where they get the page's folder address.
LinkPagePlan planLinkPage(const QString &pageText, const QString &locationUrl);

// A relative target against the address of the page that holds it; "\" of
// Windows-written local links counts as "/". Absolute addresses stay.
QString resolveLinkTarget(const QString &target, const QString &pageUrl);

// Link pages that lead to one another would expand one after the other for
// ever. Each expansion begins a chain that the next loaded document continues;
// a document that is no link page ends it, and past Limit expansions in a row
// the link page is shown as it is.
class LinkExpansionGuard
{
public:
    static constexpr int Limit = 5;

    // Asks to expand the link page just loaded.
    bool beginExpansion();
    // A processed document that was no link page: the chain is over.
    void ordinaryPage();
    int chainLength() const { return m_chain; }

private:
    int m_chain = 0;
    bool m_awaiting = false;
};

// What the after-load processing asks of the main window. Every call has a
// harmless default so that a fake implements only what it watches.
class AfterLoadHost
{
public:
    virtual ~AfterLoadHost() = default;

    // The address of the document the main browser has loaded.
    virtual QString locationUrl() const = 0;
    // The window caption, which other windows read as the open page's address.
    virtual void setCaption(const QString &caption) { Q_UNUSED(caption); }
    // The post button is enabled for pages only.
    virtual void setPostButtonEnabled(bool enabled) { Q_UNUSED(enabled); }
    virtual void processEvents() {}
    // The HTML of the loaded document's body (web pages have no file to read).
    virtual void documentHtml(const std::function<void(const QString &)> &done) { done({}); }
    // Counts the documents the main browser has gone to: an answer that comes
    // after the browser moved on belongs to a page the user has left.
    virtual int loadSerial() const { return 0; }
    // On whose behalf the loaded document was opened: a link page from the web
    // hands the web's origin on to what it opens.
    virtual CommandOrigin documentOrigin() const;

    // The page sound: armed after a load unless a timer wait holds it off.
    virtual bool pageHasSound() const { return false; }
    virtual bool soundHeldOff() const { return false; }
    virtual void armPageSound() {}

    // Loads an address into the lower pane (answer pages are searched there).
    virtual void showInLowerPane(const QString &url) { Q_UNUSED(url); }
    // Runs a command line ending in "," from which the leading "$" part is cut.
    virtual void RunCommandLine(const QString &line) { Q_UNUSED(line); }
    // The step DIR adds to the current index: 1 after a one-link page, so that
    // returning from a folder entered through it continues after it.
    virtual void setDirIndexStep(int step) { Q_UNUSED(step); }
    // Gives the current page button the label of a followed link.
    virtual void setCurrentButtonLabel(const QString &label) { Q_UNUSED(label); }
    // Opens a link in place of the link page: the open page's address becomes
    // target, its stamp is watched, the picture view hides, the browser loads
    // it and the caption shows it.
    virtual void followLink(const QString &target) { Q_UNUSED(target); }

    // "n / N" in the bar and the focus on the current page button.
    virtual void showPosition(const QString &text) { Q_UNUSED(text); }
    virtual void focusCurrentButton() {}
};

// The main browser has loaded a document: the caption, the post button, the
// page sound, the lower-pane copy of answer pages, link pages, the position.
class AfterLoad
{
public:
    // lastLoadedUrl is the document processed last: the same address loaded
    // again in a row is not processed twice, unless a page button cleared it.
    AfterLoad(Navigator &nav, AfterLoadHost &host, QString &lastLoadedUrl);

    // The document-complete event; eventUrl is the address the event names.
    void documentComplete(const QString &eventUrl);
    // Expands a link page loaded from locationUrl.
    void ProcessLinkPage(const QString &text, const QString &locationUrl);

    LinkExpansionGuard guard;

private:
    void continueWithText(const QString &eventUrl, const QString &location, const QString &text);

    Navigator &m_nav;
    AfterLoadHost &m_host;
    QString &LastLoadedUrl;
};
