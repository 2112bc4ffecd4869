#include "ui/app/browserflags.h"

#include "core/present/picturecap.h"

#include <QtGlobal>

void boundBrowserPictures()
{
    const char *const name = "QTWEBENGINE_CHROMIUM_FLAGS";
    qputenv(name, browserFlagsWithPictureBound(qgetenv(name)));
}
