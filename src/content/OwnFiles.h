#pragma once
#include <QByteArray>
#include <QString>

// Files of the user's own data: written whole or not at all, readable by the
// user alone.
namespace OwnFiles {

// Writes `data` to a temporary file beside `path` and renames it over `path`;
// the file gets mode 0600. False with *error when nothing was written.
bool WriteWhole(const QString& path, const QByteArray& data, QString* error);
// Makes the folder (mode 0700) when it is missing.
bool MakeFolder(const QString& path, QString* error);

} // namespace OwnFiles
