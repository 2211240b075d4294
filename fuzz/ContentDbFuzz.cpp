// libFuzzer target: the content database opened from a damaged file. Every
// input is written to a scratch file and loaded; loading must fail cleanly
// or succeed, never crash, hang or read out of bounds.
#include "content/CWords.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

QString ScratchPath()
{
    static const QString path =
        QDir::tempPath() + QString("/loquena-fuzz-%1.qp").arg(QString::number(getpid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    {
        CWords words;
        if (words.Open(path)) {
            // What loaded must be usable.
            WordPool pool;
            words.SelectWords(0x1FF, pool);
            WordPool out;
            words.DrawWords(out, 3, 1, 1, pool);
            ProverbPool proverbs;
            words.SelectProverbs(0xF, proverbs);
            ActionPool actions;
            words.SelectActions(0x1FF, actions);
        }
    }
    QFile::remove(path);
    QFile::remove(path + "-journal");
    return 0;
}
