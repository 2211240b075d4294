#include "FuzzEntries.h"
#include "FuzzScratch.h"

#include "graphics/CBitmapsContainer.h"

#include <QImage>

QString FuzzContainer(QByteArrayView input)
{
    const FuzzScratch file(QStringLiteral("input.bc"), input);
    if (!file.IsWritten())
        return QStringLiteral("scratch file not written");
    QString error;
    // Skins keep the file open, photos reopen it for each entry.
    for (bool closeAfterRead : {false, true}) {
        CBitmapsContainer bc;
        const int opened = bc.Open(file.Path(), closeAfterRead);
        if (opened != CBitmapsContainer::BC_OK) {
            error = QStringLiteral("Open: %1").arg(opened);
            continue;
        }
        // One index past each end as well: callers may ask for those.
        for (int i = -1; i <= bc.Count(); ++i) {
            QByteArray raw;
            const int loaded = bc.LoadTo(&raw, i);
            QImage image;
            const int decoded = bc.LoadTo(&image, i);
            if (decoded == CBitmapsContainer::BC_OK && image.isNull())
                std::abort(); // success must come with a picture
            if (i >= 0 && i < bc.Count() && error.isEmpty() &&
                (loaded != CBitmapsContainer::BC_OK || decoded != CBitmapsContainer::BC_OK))
                error = QStringLiteral("entry %1: %2/%3").arg(i).arg(loaded).arg(decoded);
        }
    }
    return error;
}
