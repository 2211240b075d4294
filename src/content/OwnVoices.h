#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The therapist's own recordings of the shipped material. A recording stands
// in for one shipped sound, named by the sound's path as the sound player
// takes it ("Data/ws/KOT", without ".wv"), and lives under the same name in
// the folder "Glosy" beside "Nagrane" in the program folder:
// "Glosy/ws/KOT.wv", in the material's scrambled sound form. It is the user's
// data: nothing the data build or an install does touches the folder. Folders
// are made readable by their owner only (0700), files likewise (0600), and a
// recording is written beside its final name and then renamed into place, so
// that a failed write leaves the recording held before as it was.

extern const QString OwnVoicesFolder;

// The own recording's file for a shipped sound path; empty for a path that
// names no shipped sound.
QString OwnVoiceFile(const QString& soundPath);
bool HasOwnVoice(const QString& soundPath);
// The sound file the player reads for `soundPath`: the own recording when
// there is one, otherwise the shipped sound.
QString SoundFileToPlay(const QString& soundPath);
// Stores a WAVE image as the own recording of `soundPath`; false when it
// could not be written (a full disk, a folder that cannot be made), and then
// nothing stored before has changed.
bool SaveOwnVoice(const QString& soundPath, const QByteArray& wave);
// The same in another program folder's recordings folder (`voicesFolder`,
// the "Glosy" of that folder), as moving the material to another
// workstation needs.
QString OwnVoiceFileIn(const QString& voicesFolder, const QString& soundPath);
bool SaveOwnVoiceIn(const QString& voicesFolder, const QString& soundPath, const QByteArray& wave);
// The shipped sound paths of the recordings in `voicesFolder`, sorted.
QStringList OwnVoicePathsIn(const QString& voicesFolder);
// Removes the own recording, so that the shipped sound plays again; true
// when none is left.
bool RemoveOwnVoice(const QString& soundPath);
