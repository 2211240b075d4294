#pragma once
#include <QString>

// The private folders in which a clinic workstation keeps working copies of
// recordings: "loquena-nagrania-<pid>-XXXXXX" in the temporary folder, named
// after the program's process so that a folder left behind by a program that
// was killed (and never removed its folder) can be told from one in use.

// The QTemporaryDir template of this process's folder under `parent`.
QString RecordingFolderTemplate(const QString& parent);

// Removes the folders under `parent` that belong to this user and whose
// process has ended; a folder of a running process, of another user, or
// without a process number in its name is left alone.
void RemoveLeftRecordingFolders(const QString& parent);
