#pragma once

#include <QObject>

#include <functional>

class TForm1;

// Runs a step once, just after the main window's first page has loaded, or at
// once when something could need what it makes before that: any input to a
// window, a page command, or a command line given to the main window. Windows
// that only those can reach are made here, so the first page does not wait
// for them and nobody can find them missing.
class AfterFirstPage : public QObject
{
public:
    AfterFirstPage(TForm1 &form, std::function<void()> step);

    // Runs the step now unless it ran already.
    void run();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_step;
    QObject *m_commands = nullptr;
};
