#include "controls/CKompTV.h"

#include "app/CError.h"
#include "app/ScreenPainter.h"
#include "content/ContentScramble.h"
#include "platform/CFilmPlayer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QThread>

CKompTV::CKompTV(QWidget* therapyWindow)
    : QWidget(therapyWindow), Player(new CFilmPlayer(this)), FilmKey(::FilmKey)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (therapyWindow)
        setCursor(therapyWindow->cursor());
    hide();
    connect(Player, &CFilmPlayer::Notify, this, [this] { PlayerNotify(); });
}

CKompTV::~CKompTV()
{
    // A film left open goes back to its stored form.
    CloseFilm();
}

void CKompTV::Scramble(const QString& path)
{
    if (ScrambledFiles && !path.isEmpty())
        ScrambleFilmFile(path);
}

bool CKompTV::OpenFilm(const QString& path)
{
    if (IsOpen) {
        const QString old = m_fileName;
        CloseDevice();
        IsOpen = false;
        m_fileName.clear();
        if (old != path)
            Scramble(old);
    }
    // A film that cannot be unscrambled is skipped: nothing is shown.
    if (ScrambledFiles && !UnscrambleFilmFile(path))
        return true;
    Player->SetDisplay(DisplayWindow ? DisplayWindow : this);
    try {
        Player->Open(path);
    } catch (const CError&) {
        // Not open, so not left plain on disk.
        Scramble(path);
        return false;
    }
    IsOpen = true;
    m_fileName = path;
    Player->SetDisplayRect(DisplayWindow ? DisplayRect : rect());
    Player->Rewind();
    return true;
}

void CKompTV::Play()
{
    if (!IsOpen)
        return;
    FilmPlaying = true;
    Player->SetNotify(true);
    Player->Play();
}

void CKompTV::Halt()
{
    if (!IsOpen)
        return;
    FilmPlaying = false;
    Player->SetNotify(false);
    Player->Stop();
}

void CKompTV::Rewind()
{
    if (!IsOpen)
        return;
    Halt();
    Player->Rewind();
}

void CKompTV::PauseFilm()
{
    if (!IsOpen || !FilmPlaying)
        return;
    FilmPlaying = false;
    Player->SetNotify(false);
    Player->Pause();
}

void CKompTV::CloseFilm()
{
    if (!IsOpen)
        return;
    Player->Stop();
    CloseDevice();
    IsOpen = false;
    const QString name = m_fileName;
    m_fileName.clear();
    Scramble(name);
}

void CKompTV::CloseDevice()
{
    Player->SetNotify(false);
    Player->Close();
}

void CKompTV::PlayerNotify()
{
    if (!FilmPlaying)
        return;
    if (Player->Mode() == EMediaMode::Playing)
        QThread::msleep(50);
    if (Player->Mode() != EMediaMode::Stopped)
        return;
    FilmPlaying = false;
    Player->SetNotify(false);
    if (OnEnd)
        OnEnd(Player);
}

void CKompTV::paintEvent(QPaintEvent* event)
{
    ScreenPainter p(this);
    p.fillRect(event->rect(), Qt::black);
}

void CKompTV::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!DisplayWindow)
        Player->SetDisplayRect(rect());
}
