// Any page text, however broken, reads into the editor's fields and builds back.
#include "core/editor/pagebuilder.h"
#include "core/editor/pagereader.h"
#include "fuzzinput.h"

#include <QDate>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = QStringLiteral("/nonexistent/page.html");
    const PageModel model = LoadPageToFields(fuzzText(data, size), path);
    (void)BuildPageFromFields(model, path, QDate(2026, 12, 7));
    return 0;
}
