#pragma once

#include <QString>
#include <QStringList>

class Prompts;

// The file-open dialog with single or multiple selection, and the splitting of
// its result into full paths.
//
// The dialog's result keeps the classic file-buffer form its callers split:
// for one file, its full path, then NUL, then spaces up to the buffer length;
// for several, the directory, NUL, each file name followed by NUL, one more
// NUL, then spaces up to the buffer length. Cancelling gives an empty string.
namespace OpenDialog {

// The file types of a NUL-separated filter ("description", NUL, "*.a;*.b", NUL,
// ...) as Qt name filters ("description (*.a *.b)"), in the filter's order.
// Pairs without patterns are left out.
QStringList NameFilters(const QString& filter);

// Shows the open dialog through `prompts` (whose owner window it is) with the
// title and the NUL-separated filter; multiSelect 1 allows several files.
// A result longer than the buffer is returned whole rather than cut.
QString ShowOpenDialog(Prompts& prompts, const QString& title, const QString& filter,
                       int multiSelect, int bufferLength);

// The dialog result in buffer form for the chosen paths (what ShowOpenDialog
// returns for them).
QString ToOpenResult(const QStringList& paths, int bufferLength);

// Splits a dialog result into full paths in `SelectedFiles` and returns the
// index of the last entry. An empty result returns 0 and leaves `SelectedFiles`
// as it was. A directory ending with a separator is not given a second one;
// otherwise names are joined with "/" when the directory uses "/", else "\".
int SplitOpenResult(const QString& result, QStringList& SelectedFiles);

} // namespace OpenDialog
