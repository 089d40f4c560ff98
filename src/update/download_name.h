#pragma once

#include <QString>
#include <QStringList>

class ProgramFolder;

// The name under which a download is saved in the user's folder: the characters of the address
// after its last "/" (a query part stays in it), or the whole address when it has no "/".
QString DownloadNameFromUrl(const QString& url);

// Raises Error with a message for the user when name cannot be used for a file in the user's
// folder: empty, "." or "..", holding "/", "\" or NUL, or naming one of the program's own files
// or folders (the executable, its settings files, "Tabs", "Translation", "Loading.avi", a skin
// folder). Names are compared without regard to the case of A-Z.
void CheckDownloadName(const QString& name, const ProgramFolder& folder);

// Ends the name of the temporary file a download is written to until it is complete.
inline constexpr char kDownloadTemporaryTag[] = ".kelvara-download";

// Removes the temporary download files (name + "." + six letters or digits + kDownloadTemporaryTag)
// that a download ended by a crash or a kill left in folder; nothing else, and no link. Returns
// the paths removed.
QStringList RemoveStaleDownloads(const QString& folder);
