#include "ui/present/mediawiring.h"

#include "ui/app/tform1.h"
#include "ui/commands/linkcommands.h"
#include "ui/present/tform6.h"

#include <QCursor>
#include <QPointer>
#include <QUrl>

using namespace Qt::StringLiterals;

void attachMediaPlayer(TForm1 &form1, TForm6 &player)
{
    const QPointer<TForm6> form6(&player);
    form1.CloseMediaPlayer = [form6] {
        if (form6 && !form6->Caption.isEmpty())
            form6->close();
    };
    LinkCommands *links = form1.findChild<LinkCommands *>(QString(), Qt::FindDirectChildrenOnly);
    if (!links)
        return;
    links->playVideo = [form6](const QString &address) {
        if (!form6)
            return;
        const QUrl url(address, QUrl::TolerantMode);
        const QString file = url.isLocalFile() ? url.toLocalFile() : address;
        // Centred where the user clicked the link.
        form6->playFile(file, QCursor::pos());
    };
    QPointer<TForm1> main(&form1);
    links->recordSound = [main](const QString &file) {
        if (main)
            main->RecordSound(file);
    };
}
