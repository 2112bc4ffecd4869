// A presentation marker written by any peer: decoding it and placing the path it
// names under our data root never leaves that root.
#include "core/present/marker.h"
#include "fuzzinput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString root = QStringLiteral("/nonexistent/kavuno_data");
    const QString path = decodePresentationMarker(fuzzBytes(data, size));
    const QString local = resolvePresentedPath(path, root);
    if (!local.isEmpty() && !local.startsWith(root + u'/'))
        std::abort();
    return 0;
}
