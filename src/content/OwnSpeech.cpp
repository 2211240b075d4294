#include "content/OwnSpeech.h"

#include <QtEndian>
#include <espeak-ng/speak_lib.h>

namespace {

int g_sampleRate = 0;
QByteArray* g_samples = nullptr;

int Collect(short* wav, int count, espeak_EVENT*)
{
    if (wav && count > 0 && g_samples)
        g_samples->append(reinterpret_cast<const char*>(wav), count * int(sizeof(short)));
    return 0;
}

// Once per program run: the library keeps its state globally.
bool Initialize(QString* error)
{
    if (g_sampleRate > 0)
        return true;
    g_sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
    if (g_sampleRate <= 0) {
        *error = QStringLiteral("Syntezator mowy espeak-ng nie działa.");
        return false;
    }
    espeak_SetSynthCallback(Collect);
    if (espeak_SetVoiceByName("pl") != EE_OK) {
        g_sampleRate = 0;
        *error = QStringLiteral("Syntezator mowy nie ma głosu polskiego.");
        return false;
    }
    return true;
}

void PutLE(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray WaveImage(const QByteArray& samples, int rate)
{
    QByteArray out;
    out.reserve(44 + samples.size());
    out.append("RIFF");
    PutLE(out, quint32(36 + samples.size()), 4);
    out.append("WAVEfmt ");
    PutLE(out, 16, 4);
    PutLE(out, 1, 2); // PCM
    PutLE(out, 1, 2); // mono
    PutLE(out, quint32(rate), 4);
    PutLE(out, quint32(rate * 2), 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out.append("data");
    PutLE(out, quint32(samples.size()), 4);
    out.append(samples);
    return out;
}

} // namespace

QByteArray OwnSpeech::Speak(const QString& text, QString* error)
{
    if (!Initialize(error))
        return {};
    QByteArray samples;
    g_samples = &samples;
    const QByteArray utf8 = text.toLower().toUtf8();
    const espeak_ERROR result = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0,
                                             POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    espeak_Synchronize();
    g_samples = nullptr;
    if (result != EE_OK || samples.isEmpty()) {
        *error = QStringLiteral("Syntezator mowy nie wypowiedział tekstu \"%1\".").arg(text);
        return {};
    }
    return WaveImage(samples, g_sampleRate);
}
