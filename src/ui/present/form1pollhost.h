#pragma once

#include "core/present/foldercount.h"
#include "core/present/pollhost.h"

#include <QObject>

class TForm1;

// The main window as the update poll sees it.
class Form1PollHost : public QObject, public PollHost
{
    Q_OBJECT
public:
    explicit Form1PollHost(TForm1 &form);

    QString homeDir() const override;
    QString localPath(const QString &url) const override;
    QString openPageAddress() const override;
    void showPollLook(const PollLook &look) override;
    void setStopEnabled(bool enabled) override;
    QString fileToPresent() override;
    void presentationStopped() override;
    void hidePicturePanel() override;
    QString writeProgressPage(const QString &heading) override;
    void waitOneTimerTick() override;
    void refreshPage() override;
    void reopenPage() override;
    int listedFileCount() const override;
    int fileCountSeen() const override;
    void setFileCountSeen(int count) override;
    int pageIndex() const override;
    QString pageEntry() const override;
    void rereadLevel() override;
    void goToPage(const QString &name) override;

private:
    TForm1 &f;
    mutable FolderCountWatch m_folderCount;
};
