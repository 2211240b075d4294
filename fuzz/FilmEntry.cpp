#include "FuzzEntries.h"
#include "FuzzScratch.h"

#include "controls/CKompTV.h"
#include "platform/CFilmPlayer.h"

#include <QMetaObject>

namespace {

// Far more than a material film has; a damaged one may claim any number.
constexpr int MaxTicks = 400;

// The player's frame timer, ticked by hand so that no time passes.
void PlayToEnd(CFilmPlayer& player)
{
    player.Play();
    for (int i = 0; i < MaxTicks && player.Mode() == EMediaMode::Playing; ++i)
        QMetaObject::invokeMethod(&player, "Tick", Qt::DirectConnection);
}

} // namespace

QString FuzzFilm(QByteArrayView input)
{
    const FuzzScratch file(QStringLiteral("input.mpg"), input);
    if (!file.IsWritten())
        return QStringLiteral("scratch file not written");
    CKompTV tv(nullptr);
    tv.ScrambledFiles = true;
    tv.resize(64, 48);
    if (!tv.OpenFilm(file.Path()))
        return QStringLiteral("not opened");
    if (!tv.IsOpen)
        return QStringLiteral("not unscrambled");
    CFilmPlayer& player = *tv.Player;
    if (player.CurrentFrame().isNull() || player.Length() < 0)
        std::abort(); // an open film shows its first frame
    PlayToEnd(player);
    tv.Rewind();
    PlayToEnd(player);
    tv.CloseFilm();
    return {};
}
