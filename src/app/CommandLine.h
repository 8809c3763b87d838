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
    // For Run: the arguments that are not options, in order.
    QStringList Items;
    // For Error: the one line to print.
    QString Error;
};

// `arguments` without the program's name. "-h"/"--help" and "--version"
// win over anything else; "--" ends the options (what follows are items,
// even when they start with "-"); any other argument starting with "-"
// before it is an unknown option. "-" alone is an item.
Request Parse(const QStringList& arguments);

// The items as the player takes them, made in the copy that was started
// (whose working folder a relative path means):
// - each argument is one item; but when no argument names an existing file
//   on its own and their join with spaces does, the join is the one item (a
//   path with spaces given without quotes, as callers did when the arguments
//   were always joined);
// - a relative path becomes absolute against `workingFolder`;
// - a "file:" URL of this machine becomes its path (percent-decoded as
//   UTF-8); one of another host is refused;
// - streams and links pass as they are; empty arguments are dropped.
struct Items {
    QStringList Accepted;
    QStringList Refused;
};
Items PrepareItems(const QStringList& arguments, const QString& workingFolder);

// The text of --help and --version.
QString UsageText();
QString VersionText();

} // namespace CommandLine
