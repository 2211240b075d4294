#pragma once
#include "platform/MediaMode.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>

class CFilmView;
class CFilmDecoder;

// Plays a film file without sound: frames decoded with FFmpeg on the GUI
// thread, one per tick of a timer at the film's frame rate, shown stretched
// into the display rectangle of the display widget. Notify() is emitted (on
// the GUI thread, after the tick) when a play with notification on reaches
// the end of the film.
class CFilmPlayer : public QObject
{
    Q_OBJECT
public:
    explicit CFilmPlayer(QObject* parent = nullptr);
    ~CFilmPlayer() override;

    // Opens the film and shows its first frame; throws CError when the file is
    // missing, unreadable or holds no decodable video.
    void Open(const QString& path);
    void Close();
    bool IsOpen() const;
    QString FileName() const { return m_path; }

    void Play();
    void Pause();
    // Stops at the current frame (the film stays open there).
    void Stop();
    // Stops and shows the first frame again.
    void Rewind();

    void SetNotify(bool on) { m_notify = on; }
    EMediaMode Mode() const { return m_mode; }
    int Length() const; // ms
    double FrameRate() const;

    // The widget the film is shown on (none: not shown) and the rectangle in
    // it (an empty rectangle: the whole widget).
    void SetDisplay(QWidget* widget);
    QWidget* Display() const { return m_display; }
    void SetDisplayRect(const QRect& rect);
    QRect DisplayRect() const { return m_rect; }

    const QImage& CurrentFrame() const { return m_frame; }
    // Frames shown since the film was opened or rewound.
    int FramesShown() const { return m_framesShown; }

signals:
    void Notify();

private slots:
    void Tick();

private:
    bool ShowNextFrame();
    void UpdateView();
    void ReachedEnd();

    QString m_path;
    std::unique_ptr<CFilmDecoder> m_decoder;
    EMediaMode m_mode = EMediaMode::NotOpen;
    bool m_notify = false;
    QTimer m_timer;
    QImage m_frame;
    int m_framesShown = 0;
    bool m_atEnd = false;
    int m_generation = 0;
    QPointer<QWidget> m_display;
    QRect m_rect;
    QPointer<CFilmView> m_view;
};
