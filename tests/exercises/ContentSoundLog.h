#pragma once
// What the exercises ask the content sound player for, and short sounds for
// them to play.
#include "common/WaveFixture.h"
#include "content/ContentScramble.h"
#include "content/ContentSound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <functional>

// Collects the paths asked for, every few ms, also while an exercise waits
// inside a sound; `extra` runs at each look.
class CPathLog
{
public:
    explicit CPathLog(std::function<void()> extra = {}) : m_extra(std::move(extra))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(5);
    }
    void Poll()
    {
        if (Paths.isEmpty() || Paths.last() != LastWvPath())
            Paths.append(LastWvPath());
        if (m_extra)
            m_extra();
    }
    QStringList Paths;

private:
    QTimer m_timer;
    std::function<void()> m_extra;
};

// A scrambled sound of `ms` milliseconds (8 kHz, 8 bits, mono).
inline bool WriteSound(const QString& pathWithoutExt, int ms)
{
    QDir().mkpath(QFileInfo(pathWithoutExt).path());
    QFile f(pathWithoutExt + ".wv");
    return f.open(QIODevice::WriteOnly) && f.write(ScrambleWv(MakeWave(8000, 1, 8, 8 * ms))) > 0;
}
