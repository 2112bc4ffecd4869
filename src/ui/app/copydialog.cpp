#include "ui/app/copydialog.h"

#include "ui/app/uitexts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

using namespace Qt::StringLiterals;

static const char KeepsExtension[] = "kavunoKeepsExtension";

// On another filter the dialog puts that filter's extension in place of the
// typed one: put the file's own back.
static void restoreOwnExtension(QFileDialog &dialog)
{
    const QString own = dialog.defaultSuffix();
    auto *name = dialog.findChild<QLineEdit *>(u"fileNameEdit"_s);
    if (own.isEmpty() || !name)
        return;
    const QString typed = name->text();
    const QString suffix = QFileInfo(typed).suffix();
    if (!suffix.isEmpty() && suffix != own)
        name->setText(typed.chopped(suffix.size()) + own);
}

void prepareCopyDialog(QFileDialog &dialog, const QString &file, const QString &folder)
{
    const QFileInfo info(file);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters;
    if (!info.suffix().isEmpty())
        filters << UiTexts::OwnTypeFilter.arg(info.suffix());
    filters << UiTexts::BmpFilter << UiTexts::JpegFilter;
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(info.suffix());
    dialog.setDirectory(folder);
    dialog.selectFile(info.fileName());
    keepOwnExtension(dialog);
}

void keepOwnExtension(QFileDialog &dialog)
{
    // The same dialog may be prepared again for another file.
    if (dialog.property(KeepsExtension).toBool())
        return;
    dialog.setProperty(KeepsExtension, true);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog] { restoreOwnExtension(dialog); });
}
