#pragma once
#include "content/CRecAction.h"
#include "content/CRecProverb.h"
#include "content/CRecWord.h"

#include <QByteArray>
#include <QString>

// The sound player of the content: the program's scrambled ".wv" sounds played
// from memory, the praise and error sounds in shuffled rotations, the wait for
// a sound's end that keeps the GUI responsive, and where every item finds its
// sounds and film. Paths are relative to the program folder and, for sounds,
// given without the ".wv" that PlayWv appends. GUI thread only.

// The folder of the activity films: "Data/asm/" in colour, "Data/asmgr/" in grey.
extern QString FilmDir;
QString ActionFilmPath(const CRecAction& action);

// Where each item's sounds are (paths without ".wv").
QString WordSoundPath(const CRecWord& word);
QString WordDescriptionPath(const CRecWord& word);
QString ProverbBeginPath(const CRecProverb& proverb);
QString ProverbEndPath(const CRecProverb& proverb);
QString ActionSound1Path(const CRecAction& action);
QString ActionSound2Path(const CRecAction& action);

// Plays path + ".wv", or the therapist's own recording of that sound when
// there is one (OwnVoices.h); a missing, unreadable or damaged file plays
// nothing and reports nothing. With async false it returns when the sound has
// ended.
void PlayWv(const QString& path, bool async);
// Plays a WAVE image from memory through the same player (a voice not yet
// stored).
void PlayWave(const QByteArray& wave, bool async);
void PlayWordSound(const CRecWord& word, bool async);
void PlayWordDescription(const CRecWord& word, bool async);
void PlayProverbBegin(const CRecProverb& proverb, bool async);
void PlayProverbEnd(const CRecProverb& proverb, bool async);
void PlayActionSound1(const CRecAction& action, bool async);
void PlayActionSound2(const CRecAction& action, bool async);
// The next sound of the rotation: each cycle of 16 (resp. 9) calls plays every
// praise (resp. error) sound once, in a new order per cycle.
void PlayPraise(bool async);
void PlayErrorSound(bool async);

// Waits, processing window events, until no content sound plays; false when
// StopContentSound ended the wait.
bool WaitSoundEnd();
// Stops any content sound now; true when a WaitSoundEnd was waiting.
bool StopContentSound();
// True while a content sound plays.
bool ContentSoundBusy();

// The image of the sound being played; created by the first play.
extern QByteArray* SoundBuffer;
// Frees SoundBuffer and the sound device at program shutdown.
void ReleaseContentSound();

// The path (without ".wv") of the last sound PlayWv was asked for.
QString LastWvPath();
// The file the last PlayWv read (the shipped sound or the own recording).
QString LastWvFile();
