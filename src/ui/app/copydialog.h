#pragma once

#include <QString>

class QFileDialog;

// Sets up the dialog that saves a copy of file in folder (the open panels'
// "コピー"): the file's own name is proposed, and its own extension stays
// whichever filter the user picks; the picture filters follow the file's own.
void prepareCopyDialog(QFileDialog &dialog, const QString &file, const QString &folder);

// Whatever filter the user picks in the (non-native) save dialog, the typed
// name keeps the dialog's default suffix as its extension.
void keepOwnExtension(QFileDialog &dialog);
