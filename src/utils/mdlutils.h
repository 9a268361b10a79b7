#pragma once
// mdlUtils: the small file-system and dialog routines the windows share.
//
// Callers only ever see a result: a failure inside a routine becomes false, a size of 0 bytes or
// an empty text. The one exception is DirExists, which also says what went wrong in a message.
//
// The routines that show something take the dialog service as their first argument rather than
// reaching for a global one: the window that calls them already holds it, and a test can hand
// in a scripted one.

#include "dialogs.h"

#include <QString>

namespace hollenby::utils {

// True when `path` names an existing folder (a link to one included). An empty text, a file, a
// missing path and a path the system will not look into are all false. A failure of the test
// itself is reported as "Error N (...) in procedure DirExists of Module mdlUtils".
bool DirExists(ui::Dialogs& dialogs, const QString& path);

// True when `path` names an existing ordinary file, whatever its permissions. Folders, devices,
// pipes and sockets are not files here: reading one whole as a level or a bitmap could block
// forever or never end.
bool FileExists(const QString& path);

// The file's size with its unit: "1023 bytes", "1.13 Kb", "1024.00 Mb", "2.00 Gb". The unit is
// chosen before dividing, two decimals, an exact half away from zero, the user's decimal
// separator. A size that cannot be read, or does not fit a signed 32-bit count, is "0 bytes".
QString FileSizeText(const QString& path);

// Shows the open-file dialog with `title`, the filter `filterText` ("Name|*.ext") and the
// default extension, and gives the chosen file's full path, or "" when cancelled or when
// anything fails. The dialog has no owner window, so the main window stays usable meanwhile; a
// second call from there refills the record for its own dialog, and each gives back only the
// choice made in its own dialog.
QString ShowOpenDialog(ui::Dialogs& dialogs, const QString& title, const QString& filterText,
                       const QString& defaultExtension);

// Fills the open-file record's filter: every "|" becomes a NUL, and one more NUL ends the text.
// Fails with Overflow (error 6) for a filter text longer than 32767 characters.
void BuildDialogFilter(const QString& filterText);

// `text` without its leading and trailing spaces; tabs and other blanks stay.
QString TrimSpaces(const QString& text);

// The open-file record that ShowOpenDialog refills on every call and the dialog writes back
// into. It lives for the whole run.
const ui::OpenFileName& OpenFileRecord();

} // namespace hollenby::utils
