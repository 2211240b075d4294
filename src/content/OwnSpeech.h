#pragma once
#include <QByteArray>
#include <QString>

// Speech for own material that has no recorded voice: the text spoken by
// espeak-ng's Polish voice, as a WAVE image (16-bit mono PCM).
namespace OwnSpeech {

// Empty with *error when the synthesizer cannot speak.
QByteArray Speak(const QString& text, QString* error);

} // namespace OwnSpeech
