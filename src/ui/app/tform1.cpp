#include "ui/app/tform1.h"

#include "core/app/apptexts.h"
#include "core/navigation/levelprefetch.h"
#include "core/present/updatepoll.h"
#include "ui/app/fonts.h"

#include <QApplication>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

TForm1::TForm1(Platform &platform_, const QString &programFile, QWidget *parent)
    : TForm1(platform_, programFile, nullptr, parent)
{
}

TForm1::TForm1(Platform &platform_, const QString &programFile, std::unique_ptr<LevelPrefetch> readAhead,
               QWidget *parent)
    : QMainWindow(parent)
    , nav(this)
    , platform(platform_)
    , HighlightCurrent(nav.HighlightCurrent)
{
    setObjectName(u"Form1"_s);
    installJapaneseFonts();
    QFont hintFont = QToolTip::font();
    hintFont.setPointSize(15);
    QToolTip::setFont(hintFont);

    HistoryPath = AppTexts::HistoryPath;
    HelpPageName = AppTexts::HelpPageName;
    SearchIndexKey = u"xxx"_s;
    nav.setProgramPath(programFile);
    // The first level is read while the window and its browsers are built.
    nav.prefetchLevel(nav.HomeDir, std::move(readAhead));
    QApplication::setApplicationName(nav.ExeBaseName);
    setWindowTitle(nav.ExeBaseName);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer5 = new QTimer(this);
    Timer5->setObjectName(u"Timer5"_s);
    Timer5->setInterval(1000);

    buildControls();
    setupUpdatePoll();
    buildBar();
    buildDrawing();
    buildPageSound();
}

TForm1::~TForm1() = default;

void TForm1::setCaption(const QString &caption)
{
    Caption = caption;
    setWindowTitle(caption.isEmpty() ? nav.ExeBaseName : nav.ExeBaseName + u" - "_s + caption);
}

QString TForm1::shownAddress() const
{
    return Caption;
}

// The only place that pauses and resumes the update poll.
void TForm1::pausePoll()
{
    Poll->pausePoll();
}

void TForm1::resumePoll()
{
    Poll->resumePoll();
}
