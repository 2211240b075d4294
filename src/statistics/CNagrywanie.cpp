#include "statistics/CNagrywanie.h"

#include "app/CError.h"
#include "app/Universalfn.h"
#include "platform/CSoundRecorder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray MakeEmptyWave()
{
    QByteArray w(44, '\0');
    auto u32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, w.data() + at); };
    auto u16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, w.data() + at); };
    w.replace(0, 4, "RIFF");
    u32(4, 38); // as the program has always written it
    w.replace(8, 8, "WAVEfmt ");
    u32(16, 16);
    u16(20, 1); // PCM
    u16(22, 1); // mono
    u32(24, 22050);
    u32(28, 22050);
    u16(32, 1);
    u16(34, 8);
    w.replace(36, 4, "data");
    u32(40, 0);
    return w;
}

bool WriteAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The file system of `folder`: its mount point and the bytes free to this user.
bool StatFreeSpace(const QString& folder, QString* drive, std::uint64_t* free)
{
    const QStorageInfo storage(folder);
    const QString root = storage.isValid() ? storage.rootPath() : QString();
    if (drive)
        *drive = root;
    return !root.isEmpty() && DiskSpace(root, nullptr, free);
}

} // namespace

const QByteArray& CNagrywanie::EmptyWave()
{
    static const QByteArray wave = MakeEmptyWave();
    return wave;
}

CNagrywanie::CNagrywanie(QObject* owner, Callback onPlayEnd, Callback onRecordEnd)
    : QObject(owner), m_player(std::make_unique<CSoundRecorder>()),
      m_onRecordEnd(std::move(onRecordEnd)), m_onPlayEnd(std::move(onPlayEnd))
{
    connect(m_player.get(), &CSoundRecorder::Notify, this, [this] {
        // The end is acted on a moment later, on the same thread, so that a
        // stop the program asks for meanwhile wins.
        QTimer::singleShot(16, this, &CNagrywanie::OnNotify);
    });
}

CNagrywanie::~CNagrywanie()
{
    CloseFile();
}

void CNagrywanie::SetSpaceCheck(const QString& folder, FreeSpaceQuery query)
{
    m_spaceFolder = folder;
    m_freeSpace = std::move(query);
}

void CNagrywanie::Inform(const QString& row1, const QString& row2, const QString& row3,
                         const QString& row4, bool compact)
{
    if (m_inform)
        m_inform(MessageKindError, row1, row2, row3, row4, compact);
}

bool CNagrywanie::WriteEmptyWave(const QString& name)
{
    return WriteWholeFile(name, EmptyWave());
}

// The bytes go to a new file beside `name`, which then takes its place:
// a full disk or a missing folder leaves whatever was there untouched.
bool CNagrywanie::WriteWholeFile(const QString& name, const QByteArray& bytes)
{
    const QFileInfo info(name);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray temp =
        QFile::encodeName(info.absolutePath() + "/." + info.fileName() + ".new");
    ::unlink(temp.constData());
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

void CNagrywanie::TryOpen(const QString& name)
{
    try {
        m_player->Open(name);
        m_opened = true;
    } catch (const CError&) {
        m_opened = false;
    }
}

bool CNagrywanie::OpenFile(const QString& name)
{
    CloseFile();
    const bool existed = QFileInfo::exists(name);
    if (!existed && !WriteEmptyWave(name))
        return false;
    TryOpen(name);
    if (m_opened)
        return true;
    // An existing file that cannot be opened is damaged: it starts afresh.
    if (!existed || !WriteEmptyWave(name))
        return false;
    TryOpen(name);
    return m_opened;
}

bool CNagrywanie::Record(int maxMs)
{
    if (!m_opened)
        return false;
    if (m_recording)
        return true;
    if (m_playing)
        Stop();
    if (m_player->Length() > 0 && !ResetFile())
        return false;
    m_player->SetNotify(true);
    try {
        m_player->Record(0, maxMs > 0 ? maxMs : -1);
    } catch (const CError&) {
        m_player->SetNotify(false);
        return false;
    }
    m_recording = true;
    return true;
}

void CNagrywanie::SaveRecording()
{
    try {
        m_player->Save();
    } catch (const CError&) {
        // The file keeps what it held before; the therapist must know that
        // this recording was not kept.
        Inform(QStringLiteral("Wystąpił błąd podczas próby nagrania."), QString(), QString(),
               QString(), false);
    }
}

void CNagrywanie::Stop()
{
    if (!m_opened)
        return;
    m_player->SetNotify(false);
    m_player->Stop();
    m_playing = false;
    if (m_recording) {
        m_recording = false;
        SaveRecording();
    }
}

void CNagrywanie::Play()
{
    if (m_playing || !m_opened)
        return;
    if (m_recording)
        Stop();
    m_player->Rewind();
    m_player->SetNotify(true);
    m_playing = true;
    m_player->Play();
}

void CNagrywanie::CloseFile()
{
    if (!m_opened)
        return;
    if (m_recording || m_playing)
        Stop();
    m_opened = false;
    m_player->Close();
}

bool CNagrywanie::ResetFile()
{
    if (!m_opened)
        return false;
    const QString name = m_player->FileName();
    CloseFile();
    if (!WriteEmptyWave(name))
        return false;
    TryOpen(name);
    return m_opened;
}

void CNagrywanie::OnNotify()
{
    if (!m_opened || m_player->Mode() != EMediaMode::Stopped)
        return;
    if (m_recording) {
        m_recording = false;
        SaveRecording();
        if (m_onRecordEnd)
            m_onRecordEnd();
    } else if (m_playing) {
        m_playing = false;
        if (m_onPlayEnd)
            m_onPlayEnd();
    }
}

bool CNagrywanie::HasSpaceForRecording()
{
    const QString folder =
        m_spaceFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_spaceFolder;
    QString drive;
    std::uint64_t free = 0;
    const bool known =
        m_freeSpace ? m_freeSpace(folder, &drive, &free) : StatFreeSpace(folder, &drive, &free);
    if (!known) {
        Inform(QStringLiteral("Wystąpił nierozpoznany błąd!"),
               QStringLiteral("Nagrywanie zostało przerwane."), QString(), QString(), false);
        return false;
    }
    if (free < MinFreeBytes) {
        Inform(QStringLiteral("Niewystarczająca ilość miejsca na dysku ") + drive + "!",
               QStringLiteral("Zwolnij miejsce!"), QStringLiteral("Możesz to zrobić, np. usuwając"),
               QStringLiteral("część nagrań zapisanych w statystyce."), true);
        return false;
    }
    return true;
}
