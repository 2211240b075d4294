#include "platform/CFilmPlayer.h"

#include "app/CError.h"
#include "platform/CFilmDecoder.h"
#include "platform/CFilmView.h"

#include <cmath>

CFilmPlayer::CFilmPlayer(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CFilmPlayer::Tick);
}

CFilmPlayer::~CFilmPlayer()
{
    Close();
}

bool CFilmPlayer::IsOpen() const
{
    return m_mode != EMediaMode::NotOpen;
}

void CFilmPlayer::Open(const QString& path)
{
    Close();
    auto decoder = std::make_unique<CFilmDecoder>();
    if (!decoder->Open(path))
        throw CError(QStringLiteral("CFilmPlayer::Open - ") + decoder->Error() +
                     QStringLiteral(": ") + path);
    m_decoder = std::move(decoder);
    m_path = path;
    m_mode = EMediaMode::Stopped;
    m_timer.setInterval(int(std::lround(1000.0 / m_decoder->FrameRate())));
    if (!ShowNextFrame()) {
        Close();
        throw CError(QStringLiteral("CFilmPlayer::Open - brak klatek filmu: ") + path);
    }
}

void CFilmPlayer::Close()
{
    m_timer.stop();
    ++m_generation;
    delete m_view.data();
    m_decoder.reset();
    m_frame = QImage();
    m_framesShown = 0;
    m_atEnd = false;
    m_path.clear();
    m_mode = EMediaMode::NotOpen;
}

void CFilmPlayer::Play()
{
    if (!IsOpen() || m_mode == EMediaMode::Playing)
        return;
    m_mode = EMediaMode::Playing;
    if (m_atEnd) {
        ReachedEnd(); // nothing left to show
        return;
    }
    m_timer.start();
}

void CFilmPlayer::Pause()
{
    if (m_mode != EMediaMode::Playing)
        return;
    m_timer.stop();
    m_mode = EMediaMode::Paused;
}

void CFilmPlayer::Stop()
{
    if (m_mode != EMediaMode::Playing && m_mode != EMediaMode::Paused)
        return;
    m_timer.stop();
    ++m_generation; // an end already queued is no longer news
    m_mode = EMediaMode::Stopped;
}

void CFilmPlayer::Rewind()
{
    if (!IsOpen())
        return;
    Stop();
    m_framesShown = 0;
    m_atEnd = false;
    if (!m_decoder->Rewind() || !ShowNextFrame())
        m_atEnd = true;
}

int CFilmPlayer::Length() const
{
    return m_decoder ? int(m_decoder->DurationMs()) : 0;
}

double CFilmPlayer::FrameRate() const
{
    return m_decoder ? m_decoder->FrameRate() : 0.0;
}

void CFilmPlayer::SetDisplay(QWidget* widget)
{
    if (widget == m_display)
        return;
    delete m_view.data();
    m_display = widget;
    UpdateView();
}

void CFilmPlayer::SetDisplayRect(const QRect& rect)
{
    m_rect = rect;
    UpdateView();
}

void CFilmPlayer::Tick()
{
    if (m_mode != EMediaMode::Playing)
        return;
    if (!ShowNextFrame())
        ReachedEnd();
}

bool CFilmPlayer::ShowNextFrame()
{
    QImage frame = m_decoder ? m_decoder->NextFrame() : QImage();
    if (frame.isNull())
        return false;
    m_frame = std::move(frame);
    ++m_framesShown;
    UpdateView();
    return true;
}

void CFilmPlayer::ReachedEnd()
{
    m_timer.stop();
    m_atEnd = true;
    m_mode = EMediaMode::Stopped;
    if (!m_notify)
        return;
    // Reported after the tick returns, so that the handler may close or open a
    // film; a stop or close before then cancels it.
    const int generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_generation)
                emit Notify();
        },
        Qt::QueuedConnection);
}

void CFilmPlayer::UpdateView()
{
    if (!m_display || !IsOpen()) {
        delete m_view.data();
        return;
    }
    if (!m_view)
        m_view = new CFilmView(m_display);
    const QRect area = m_rect.isEmpty() ? m_display->rect() : m_rect;
    if (m_view->geometry() != area)
        m_view->setGeometry(area);
    m_view->SetFrame(m_frame);
    if (!m_view->isVisible()) {
        m_view->raise();
        m_view->show();
    }
}
