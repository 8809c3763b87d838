#pragma once

#include <QString>
#include <QStringList>

// What the program is asked for on its command line, read without any
// window: the options a desktop program answers (help, version) and the
// text handed to the player.
namespace CommandLine {

enum class Action { Run, Help, Version, Error };

struct Request {
    Action What = Action::Run;
    // For Run: the arguments after the options, joined by spaces as the
    // player has always received them (a path may hold spaces).
    QString Items;
    // For Error: the one line to print.
    QString Error;
};

// `arguments` without the program's name. "-h"/"--help" and "--version"
// win over anything else; "--" ends the options (what follows are items,
// even when they start with "-"); any other argument starting with "-"
// before it is an unknown option. "-" alone is an item.
Request Parse(const QStringList& arguments);

// The text of --help and --version.
QString UsageText();
QString VersionText();

} // namespace CommandLine
