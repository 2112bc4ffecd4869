#pragma once

// Test doubles of the main window and the viewer for the update poll.

#include "core/present/pollhost.h"

#include <QDir>
#include <QStringList>

#include <stdexcept>

// The main window as the poll sees it; every step it is asked for is logged.
class FakeHost : public PollHost
{
public:
    QString home;
    QString pageAddress;
    QString presentable;
    int listed = 3;
    int seen = 3;
    int index = 0;
    QString entry;
    bool throwOnListing = false;
    PollLook look;
    bool stopEnabled = false;
    QStringList log;

    QString homeDir() const override { return home; }
    QString localPath(const QString &url) const override
    {
        return url.startsWith(QStringLiteral("http")) ? QString() : url;
    }
    QString openPageAddress() const override { return pageAddress; }
    void showPollLook(const PollLook &l) override { look = l; }
    void setStopEnabled(bool enabled) override { stopEnabled = enabled; }
    QString fileToPresent() override { return presentable; }
    void presentationStopped() override { log << QStringLiteral("stopped"); }
    void hidePicturePanel() override { log << QStringLiteral("hidePanel"); }
    QString writeProgressPage(const QString &heading) override
    {
        log << QStringLiteral("progress ") + heading;
        return home + QStringLiteral("/_XXX.html");
    }
    void waitOneTimerTick() override { log << QStringLiteral("wait"); }
    void refreshPage() override { log << QStringLiteral("refresh"); }
    void reopenPage() override { log << QStringLiteral("reopen"); }
    int listedFileCount() const override
    {
        if (throwOnListing)
            throw std::runtime_error("share gone");
        return listed;
    }
    int fileCountSeen() const override { return seen; }
    void setFileCountSeen(int count) override { seen = count; }
    int pageIndex() const override { return index; }
    QString pageEntry() const override { return entry; }
    void rereadLevel() override { log << QStringLiteral("level"); }
    void goToPage(const QString &name) override { log << QStringLiteral("GO ") + name; }
};

class FakeViewer : public PresentationViewer
{
public:
    bool shown = false;
    QString shownTarget;
    QStringList log;

    bool isShown() const override { return shown; }
    QString target() const override { return shownTarget; }
    void showViewer() override { shown = true, log << QStringLiteral("show"); }
    void showPage(const QString &path) override { log << QStringLiteral("page ") + QDir(path).dirName(); }
    void showTarget(const QString &path) override
    {
        shownTarget = path;
        log << QStringLiteral("target ") + QDir(path).dirName();
    }
    void reload() override { log << QStringLiteral("reload"); }
    void closeViewer() override { shown = false, log << QStringLiteral("close"); }
};

