#include "content/ContentSound.h"

#include "content/ContentScramble.h"
#include "content/OwnVoices.h"
#include "platform/CSoundPlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <array>
#include <memory>
#include <numeric>

QString FilmDir = QStringLiteral("Data/asm/");
QByteArray* SoundBuffer = nullptr;

namespace {

std::unique_ptr<QByteArray> g_soundBuffer;
std::unique_ptr<CSoundPlayer> g_player;
bool g_waitingForSound = false;
QString g_lastPath;
QString g_lastFile;

// A shuffled cycle through the numbers 1..N.
template <int N> class CRotation
{
public:
    CRotation() { std::iota(m_order.begin(), m_order.end(), 1); }

    int Next()
    {
        if (m_position == 0) {
            // Each shuffle starts from the order the previous one left.
            for (int i = 0; i < N - 1; ++i)
                std::swap(m_order[i], m_order[QRandomGenerator::global()->bounded(i, N)]);
        }
        const int number = m_order[m_position];
        m_position = (m_position + 1) % N;
        return number;
    }

private:
    std::array<int, N> m_order{};
    int m_position = 0;
};

CRotation<16> g_praiseOrder;
CRotation<9> g_errorOrder;

CSoundPlayer& Player()
{
    if (!g_player)
        g_player = std::make_unique<CSoundPlayer>();
    return *g_player;
}

void Sleep16()
{
    QThread::msleep(16);
}

bool LoadWv(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *SoundBuffer = file.readAll();
    if (file.error() != QFileDevice::NoError || SoundBuffer->size() < WvScrambledBytes)
        return false;
    XorWvHeader(SoundBuffer->data(), SoundBuffer->size());
    return true;
}

} // namespace

QString ActionFilmPath(const CRecAction& action)
{
    return FilmDir + QString::number(action.ID) + QStringLiteral(".mpg");
}

namespace {

// Plays the image `load` puts into SoundBuffer (false: nothing to play).
template <class Load> void PlayLoaded(Load load, bool async)
{
    try {
        if (!g_soundBuffer) {
            g_soundBuffer = std::make_unique<QByteArray>();
            SoundBuffer = g_soundBuffer.get();
        }
        if (!SoundBuffer->isEmpty())
            Player().Stop(); // its image is about to be overwritten
        SoundBuffer->clear();
        if (!load())
            return;
        Player().Play(SoundBuffer->constData(), SoundBuffer->size(), async);
        if (!async) {
            SoundBuffer->clear();
            SoundBuffer->squeeze();
        }
    } catch (...) {
        // A sound that cannot be played is simply not heard.
    }
}

} // namespace

void PlayWv(const QString& path, bool async)
{
    g_lastPath = path;
    g_lastFile.clear();
    PlayLoaded(
        [&path] {
            g_lastFile = SoundFileToPlay(path);
            return LoadWv(g_lastFile);
        },
        async);
}

void PlayWave(const QByteArray& wave, bool async)
{
    g_lastPath.clear();
    g_lastFile.clear();
    PlayLoaded(
        [&wave] {
            *SoundBuffer = wave;
            return !wave.isEmpty();
        },
        async);
}

QString WordSoundPath(const CRecWord& word)
{
    // An own word carries its own sound file.
    return word.SoundPath.isEmpty() ? QStringLiteral("Data/ws/") + word.Nazwa : word.SoundPath;
}

QString WordDescriptionPath(const CRecWord& word)
{
    return word.DescriptionPath.isEmpty() ? QStringLiteral("Data/dws/") + word.Nazwa
                                          : word.DescriptionPath;
}

QString ProverbBeginPath(const CRecProverb& proverb)
{
    return QStringLiteral("Data/ps/") + proverb.SoundPocz;
}

QString ProverbEndPath(const CRecProverb& proverb)
{
    return QStringLiteral("Data/ps/") + proverb.SoundKon;
}

QString ActionSound1Path(const CRecAction& action)
{
    return QStringLiteral("Data/as/p1_") + QString::number(action.ID);
}

QString ActionSound2Path(const CRecAction& action)
{
    return QStringLiteral("Data/as/p2_") + QString::number(action.ID);
}

void PlayWordSound(const CRecWord& word, bool async)
{
    PlayWv(WordSoundPath(word), async);
}

void PlayWordDescription(const CRecWord& word, bool async)
{
    PlayWv(WordDescriptionPath(word), async);
}

void PlayProverbBegin(const CRecProverb& proverb, bool async)
{
    PlayWv(ProverbBeginPath(proverb), async);
}

void PlayProverbEnd(const CRecProverb& proverb, bool async)
{
    PlayWv(ProverbEndPath(proverb), async);
}

void PlayActionSound1(const CRecAction& action, bool async)
{
    PlayWv(ActionSound1Path(action), async);
}

void PlayActionSound2(const CRecAction& action, bool async)
{
    PlayWv(ActionSound2Path(action), async);
}

void PlayPraise(bool async)
{
    PlayWv(QStringLiteral("Data/sp/g") + QString::number(g_praiseOrder.Next()), async);
}

void PlayErrorSound(bool async)
{
    PlayWv(QStringLiteral("Data/sp/b") + QString::number(g_errorOrder.Next()), async);
}

bool ContentSoundBusy()
{
    return g_player && g_player->IsBusy();
}

bool WaitSoundEnd()
{
    g_waitingForSound = true;
    Sleep16();
    while (ContentSoundBusy()) {
        Sleep16();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!g_waitingForSound)
            return false;
    }
    g_waitingForSound = false;
    return true;
}

bool StopContentSound()
{
    const bool wasWaiting = g_waitingForSound;
    g_waitingForSound = false;
    const bool wasPlaying = ContentSoundBusy();
    if (g_player)
        g_player->Stop();
    // The pause lets a stopped sound fall silent; with none playing there is
    // nothing to wait for, and a task switch need not lose 16 ms to it.
    if (wasPlaying || wasWaiting)
        Sleep16();
    return wasWaiting;
}

void ReleaseContentSound()
{
    g_player.reset();
    g_soundBuffer.reset();
    SoundBuffer = nullptr;
    CSoundPlayer::Shutdown();
}

QString LastWvPath()
{
    return g_lastPath;
}

QString LastWvFile()
{
    return g_lastFile;
}
