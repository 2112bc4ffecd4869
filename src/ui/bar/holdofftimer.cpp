#include "ui/bar/holdofftimer.h"

#include <QEventLoop>

using namespace Qt::StringLiterals;

HoldOffTimer::HoldOffTimer(QObject *parent)
    : QTimer(parent)
{
    setObjectName(u"Timer4"_s);
    setInterval(1000);
    connect(this, &QTimer::timeout, this, &HoldOffTimer::Timer4Timer);
}

void HoldOffTimer::Timer4Timer()
{
    Tag = 0;
}

void HoldOffTimer::waitOneTick()
{
    Tag = 1;
    QEventLoop loop;
    connect(this, &QTimer::timeout, &loop, &QEventLoop::quit);
    start();
    // A program on its way out runs no nested loop any more (exec returns at
    // once with -1): the wait ends then instead of spinning.
    while (Tag > 0 && loop.exec() == 0) {
    }
    stop();
}
