#pragma once
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class CFilmPlayer;

// The black panel on which the activity films play. The films are stored
// scrambled; the panel unscrambles a file in place before opening it and
// scrambles it again after closing it, so that a file is plain on disk
// exactly while it is open here.
class CKompTV : public QWidget
{
public:
    explicit CKompTV(QWidget* therapyWindow);
    ~CKompTV() override;

    CFilmPlayer* Player = nullptr; // owned (a child of the panel)
    bool ScrambledFiles = false;
    const uint32_t FilmKey;
    bool IsOpen = false;
    bool FilmPlaying = false;
    QWidget* DisplayWindow = nullptr; // none: the panel itself
    QRect DisplayRect;
    std::function<void(CFilmPlayer*)> OnEnd;

    bool OpenFilm(const QString& path);
    void Play();
    void Halt();
    void Rewind();
    void PauseFilm();
    void CloseFilm();
    void CloseDevice();

    // The file now open (empty when none).
    const QString& FileName() const { return m_fileName; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlayerNotify();
    void Scramble(const QString& path);

    QString m_fileName;
};
