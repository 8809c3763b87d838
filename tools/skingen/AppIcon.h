#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The program's icon for the desktop, in the start skin's colours: a slate
// rounded square holding a green disc with a play symbol. It is drawn on a
// Canvas four times larger than asked for and reduced by averaging, which
// gives smooth edges (alpha) while staying integer arithmetic, so every run
// writes the same bytes.
namespace skingen::AppIcon {

// The sizes of the hicolor icon theme the program installs.
const QList<int>& Sizes();

// The icon, `size` pixels square, with an alpha channel.
QImage Draw(int size);

// Writes Draw(n) as `folder`/<n>x<n>/apps/melodeck.png for every size of
// Sizes(); `folder` is a hicolor theme folder. False with `error` set when a
// file cannot be written.
bool WriteTheme(const QString& folder, QString* error);

} // namespace skingen::AppIcon
