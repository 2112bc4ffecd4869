#pragma once

#include "core/present/pollhost.h"

#include <QPointer>
#include <QWidget>

class QWebEngineLoadingInfo;
class QWebEngineView;

// The presentation viewer: a stay-on-top window showing the file that a copy
// of the program presents, filled by one browser.
class TForm14 : public QWidget, public PresentationViewer
{
    Q_OBJECT
public:
    explicit TForm14(QWidget *parent = nullptr);

    // The window whose size the viewer takes when it opens (the main window's
    // page area).
    void setSizeReference(QWidget *reference);
    // The data root, whose pages the presented page links to.
    void setHomeDir(const QString &homeDir);

    // 1 while shown, 0 otherwise.
    int Tag = 0;
    QWebEngineView *WebBrowser1 = nullptr;

    bool isShown() const override;
    QString target() const override;
    void showViewer() override;
    void showPage(const QString &path) override;
    void showTarget(const QString &path) override;
    void reload() override;
    void closeViewer() override;
    // The program closes: the viewer goes with it, and its close (by us or by
    // the window system) no longer ends the presentation for the others.
    void programClosing();

signals:
    // Closed by the user (not by the poll): the presentation is to end.
    void closedByUser();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void FormClose();

    // A load that failed (a web address that answered nothing) shows the
    // presented file again: the viewer shows no error page.
    void loadEnded(const QWebEngineLoadingInfo &info);

    QPointer<QWidget> m_sizeReference;
    QString m_homeDir;
    QString m_target;
    bool m_closingByPoll = false;
    bool m_programClosing = false;
};
