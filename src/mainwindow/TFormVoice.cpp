#include "mainwindow/TFormVoice.h"

#include "app/CError.h"
#include "app/DisplayMode.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/VoiceWindowLook.h"
#include "platform/CSoundPlayer.h"
#include "platform/CSoundRecorder.h"

#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

TFormVoice::FileChooser& FileChooserSlot()
{
    static TFormVoice::FileChooser chooser;
    return chooser;
}

TFormVoice::ShowHook& ShowHookSlot()
{
    static TFormVoice::ShowHook hook;
    return hook;
}

QString ChooseSoundFile(QWidget* parent)
{
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("Wybierz plik z nagraniem głosu"), QString(),
        QStringLiteral("Pliki dźwiękowe (*.wav *.mp3 *.ogg *.oga *.opus *.flac *.m4a *.aac "
                       "*.wma *.aif *.aiff *.amr *.3gp *.webm *.mp4);;Wszystkie pliki (*)"));
}

// Seconds with one decimal, the Polish way: "1,4 s".
QString Seconds(int ms)
{
    return QString::number(ms / 1000.0, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')) +
           QStringLiteral(" s");
}

std::vector<int16_t> ToSamples(const QByteArray& bytes)
{
    std::vector<int16_t> samples(size_t(bytes.size() / 2));
    qFromLittleEndian<int16_t>(bytes.constData(), qsizetype(samples.size()), samples.data());
    return samples;
}

} // namespace

TFormVoice::FileChooser TFormVoice::SetFileChooser(FileChooser chooser)
{
    return std::exchange(FileChooserSlot(), std::move(chooser));
}

TFormVoice::ShowHook TFormVoice::SetShowHook(ShowHook hook)
{
    return std::exchange(ShowHookSlot(), std::move(hook));
}

std::optional<QByteArray> TFormVoice::Take(QWidget* parent, TFormMessage* message,
                                           const QString& what)
{
    TFormVoice form(parent, message, what);
    if (form.exec() != QDialog::Accepted || form.Voice().IsEmpty())
        return std::nullopt;
    return form.Voice().Wave();
}

TFormVoice::TFormVoice(QWidget* parent, TFormMessage* message, const QString& what)
    : QDialog(parent), m_message(message), m_recorder(std::make_unique<CSoundRecorder>()),
      m_player(std::make_unique<CSoundPlayer>())
{
    setObjectName(QStringLiteral("TFormVoice"));
    setWindowTitle(QStringLiteral("Nagrywanie głosu"));
    setModal(true);
    m_recorder->SetRequireDevice(true);
    m_recorder->SetNotify(true);
    connect(m_recorder.get(), &CSoundRecorder::Notify, this, &TFormVoice::RecordingEnded);
    m_meterTimer = new QTimer(this);
    m_meterTimer->setInterval(50);
    connect(m_meterTimer, &QTimer::timeout, this, &TFormVoice::UpdateMeter);
    BuildLayout(what);
    UpdateButtons();
}

TFormVoice::~TFormVoice()
{
    m_meterTimer->stop();
    m_recorder->Close();
    m_player->Stop();
}

void TFormVoice::BuildLayout(const QString& what)
{
    const double s = VoiceWindowScale();
    QVBoxLayout* column = AddVoicePanel(this, 680, 400);
    QWidget* panel = column->parentWidget();

    auto* caption = new QLabel(QStringLiteral("Nagranie głosu dla:"), panel);
    caption->setFont(VoiceWindowFont(int(20 * s)));
    m_title = new QLabel(what, panel);
    m_title->setObjectName(QStringLiteral("lbWhat"));
    m_title->setFont(VoiceWindowFont(int(26 * s)));
    m_title->setWordWrap(true);
    m_level = new QProgressBar(panel);
    m_level->setObjectName(QStringLiteral("pbLevel"));
    m_level->setRange(0, 100);
    m_level->setValue(0);
    m_level->setTextVisible(false);
    m_level->setFixedHeight(int(26 * s));
    m_status = new QLabel(panel);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    m_status->setFont(VoiceWindowFont(int(17 * s), false));
    m_status->setWordWrap(true);
    m_status->setText(QStringLiteral("Naciśnij „Nagraj” i wyraźnie powiedz to, co wyżej. "
                                     "Możesz też wybrać gotowy plik z nagraniem."));

    m_btRecord = AddVoiceButton(panel, "btNagraj", QStringLiteral("Nagraj"));
    m_btPlay = AddVoiceButton(panel, "btOdsluchaj", QStringLiteral("Odsłuchaj"));
    m_btFile = AddVoiceButton(panel, "btZPliku", QStringLiteral("Z pliku…"));
    m_btSave = AddVoiceButton(panel, "btZapisz", QStringLiteral("Zapisz"));
    m_btCancel = AddVoiceButton(panel, "btAnuluj", QStringLiteral("Anuluj"));
    connect(m_btRecord, &QPushButton::clicked, this, &TFormVoice::RecordClicked);
    connect(m_btPlay, &QPushButton::clicked, this, &TFormVoice::PlayClicked);
    connect(m_btFile, &QPushButton::clicked, this, &TFormVoice::FileClicked);
    connect(m_btSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btCancel, &QPushButton::clicked, this, &QDialog::reject);

    column->addWidget(caption);
    column->addWidget(m_title);
    column->addStretch(1);
    column->addWidget(m_level);
    column->addWidget(m_status);
    column->addStretch(1);
    auto* takeRow = new QHBoxLayout;
    takeRow->addWidget(m_btRecord);
    takeRow->addWidget(m_btPlay);
    takeRow->addWidget(m_btFile);
    column->addLayout(takeRow);
    auto* endRow = new QHBoxLayout;
    endRow->addStretch(1);
    endRow->addWidget(m_btSave);
    endRow->addWidget(m_btCancel);
    column->addLayout(endRow);
}

void TFormVoice::showEvent(QShowEvent* event)
{
    ApplyVoiceWindowLook(this);
    QDialog::showEvent(event);
    CallShowHookLater(this, ShowHookSlot());
}

void TFormVoice::reject()
{
    m_meterTimer->stop();
    m_recorder->Close();
    m_player->Stop();
    QDialog::reject();
}

bool TFormVoice::IsRecording() const
{
    return m_recorder->Mode() == EMediaMode::Recording;
}

void TFormVoice::RecordClicked()
{
    if (IsRecording())
        StopRecording();
    else
        StartRecording();
}

void TFormVoice::StartRecording()
{
    m_player->Stop();
    m_recorder->OpenEmpty(1, CVoiceTake::Rate, 16);
    try {
        m_recorder->Record(0, MaxRecordingMs);
    } catch (const CError&) {
        m_recorder->Close();
        ShowProblem({QStringLiteral("Nie można włączyć mikrofonu!"),
                     QStringLiteral("Proszę sprawdzić, czy mikrofon jest podłączony"),
                     QStringLiteral("i czy nie używa go inny program.")});
        return;
    }
    m_status->setText(QStringLiteral("Nagrywanie… Naciśnij „Zatrzymaj”, gdy skończysz."));
    m_meterTimer->start();
    UpdateButtons();
}

void TFormVoice::StopRecording()
{
    m_recorder->Stop();
    RecordingEnded();
}

void TFormVoice::RecordingEnded()
{
    m_meterTimer->stop();
    m_level->setValue(0);
    const std::vector<int16_t> samples = ToSamples(m_recorder->Samples());
    m_recorder->Close();
    CVoiceTake take;
    Accept(take.SetSamples(samples), take);
    UpdateButtons();
}

bool TFormVoice::Accept(CVoiceTake::EProblem problem, const CVoiceTake& take, const QString& file)
{
    if (problem != CVoiceTake::VoiceOk) {
        m_status->setText(m_take.IsEmpty() ? QStringLiteral("Brak nagrania.")
                                           : QStringLiteral("Zostaje poprzednie nagranie (%1).")
                                                 .arg(Seconds(m_take.DurationMs())));
        ShowProblem(CVoiceTake::ProblemRows(problem, file));
        return false;
    }
    m_take = take;
    m_status->setText(QStringLiteral("Nagranie gotowe (%1). Możesz je odsłuchać i zapisać.")
                          .arg(Seconds(m_take.DurationMs())));
    UpdateButtons();
    return true;
}

void TFormVoice::PlayClicked()
{
    if (m_take.IsEmpty() || IsRecording())
        return;
    const QByteArray wave = m_take.Wave();
    m_player->Play(wave.constData(), wave.size(), true);
}

void TFormVoice::FileClicked()
{
    if (IsRecording())
        return;
    const QString path = FileChooserSlot() ? FileChooserSlot()(this) : ChooseSoundFile(this);
    if (!path.isEmpty())
        TakeFile(path);
}

bool TFormVoice::TakeFile(const QString& path)
{
    m_player->Stop();
    CVoiceTake take;
    const bool kept = Accept(take.SetFile(path), take, path);
    UpdateButtons();
    return kept;
}

void TFormVoice::UpdateMeter()
{
    // The meter reads in decibels, so that a quiet voice still moves it:
    // -48 dB of full scale at the left, full scale at the right.
    const int peak = m_recorder->PeakOfLast(100);
    const double db = peak > 0 ? 20.0 * std::log10(peak / 32767.0) : -96.0;
    m_level->setValue(std::clamp(int((db + 48.0) * 100.0 / 48.0), 0, 100));
    m_status->setText(QStringLiteral("Nagrywanie… %1. Naciśnij „Zatrzymaj”, gdy skończysz.")
                          .arg(Seconds(m_recorder->Length())));
}

void TFormVoice::UpdateButtons()
{
    const bool recording = IsRecording();
    m_btRecord->setText(recording ? QStringLiteral("Zatrzymaj")
                                  : (m_take.IsEmpty() ? QStringLiteral("Nagraj")
                                                      : QStringLiteral("Nagraj ponownie")));
    m_btPlay->setEnabled(!recording && !m_take.IsEmpty());
    m_btFile->setEnabled(!recording);
    m_btSave->setEnabled(!recording && !m_take.IsEmpty());
}

void TFormVoice::ShowProblem(const QStringList& rows)
{
    if (m_message)
        m_message->Inform(TFormMessage::KindError, rows.value(0), rows.value(1), rows.value(2),
                          rows.value(3));
}
