#pragma once

#include "core/navigation/bottombar.h"
#include "core/navigation/linkpage.h"

#include <QObject>

class TForm1;

// What the main window's bar, side panels, page-note button and after-load
// processing keep between events, and the events they take from the window's
// controls.
class BarState : public QObject, public AfterLoadHost
{
    Q_OBJECT
public:
    explicit BarState(TForm1 &form);

    // The right button was among the pressed ones when the note button went down.
    bool RightButtonDown = false;
    HoverToggle hover;
    AfterLoad afterLoad;
    // The lower pane refreshes once after each load it did not start itself.
    bool lowerPaneRefreshing = false;
    // The load count of the lower pane's page when it last finished loading.
    int lowerPaneSerial = 0;

    // AfterLoadHost
    QString locationUrl() const override;
    void setCaption(const QString &caption) override;
    void setPostButtonEnabled(bool enabled) override;
    void processEvents() override;
    void documentHtml(const std::function<void(const QString &)> &done) override;
    int loadSerial() const override;
    CommandOrigin documentOrigin() const override;
    bool pageHasSound() const override;
    bool soundHeldOff() const override;
    void armPageSound() override;
    void showInLowerPane(const QString &url) override;
    void RunCommandLine(const QString &line) override;
    void setDirIndexStep(int step) override;
    void setCurrentButtonLabel(const QString &label) override;
    void followLink(const QString &target) override;
    void showPosition(const QString &text) override;
    void focusCurrentButton() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TForm1 &f;
};
