#pragma once

#include <QProcessEnvironment>
#include <QString>

// Running the real melodeck program from a test, kept apart from the user's
// own: its program directory is `home` (with the build's skins linked in),
// its lock, socket and desktop files live under `home` too, and it draws
// offscreen with the engine's null outputs.
namespace TestProgram {

// The melodeck executable of this build.
QString Path();

// Prepares `home` (skins linked, private runtime folder) and returns the
// environment for a run there.
QProcessEnvironment Environment(const QString& home);

// The same run in the test's own process: prepares `home` and sets the
// program's variables of that environment in this process's own.
void UseInThisProcess(const QString& home);

} // namespace TestProgram
