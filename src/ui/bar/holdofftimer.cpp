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
    while (Tag > 0)
        loop.exec();
    stop();
}
