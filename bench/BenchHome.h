#pragma once

// A home for a benchmark of the whole application: a generated library of `saves`, an empty media
// file for every finished copy and a cover file for every post with a preview (as after a while of
// use, so that the start finds nothing to change or fetch), and preferences whose network route is
// a closed port on this computer.
//
//   <home>/data/Stashwell      the library's folder (the data folder under XDG_DATA_HOME=<home>/data)
//   <home>/Videos/Stashwell    the media folder (the Videos folder of HOME=<home>)
//   `preferences`              the preferences file

#include <QString>

namespace sw::bench {

bool writeHome(const QString &home, int saves, const QString &preferences);

}  // namespace sw::bench
