#pragma once

#include "playback/CMediaInfo.h"

#include <QStringList>
#include <memory>
#include <vector>

// Which items of a list the cleaning commands remove, decided without a
// window. The item playing now (`playingKey`) is never among them.
namespace ListCleanup {

using Records = std::vector<std::shared_ptr<CMediaInfo>>;

// The keys of the items whose path repeats an earlier item's, the first of
// each kept: local paths compared once made absolute and clean (so
// "/m/./a.mp3" and "/m/a.mp3" are one file), addresses exactly.
QStringList Duplicates(const Records& items, const QString& playingKey);

// The keys of local items whose file is missing or not a regular file (a
// folder, a FIFO, a broken link), and of any item that failed to play in
// this run; streams and links that did not fail stay.
QStringList DeadItems(const Records& items, const QString& playingKey);

} // namespace ListCleanup
