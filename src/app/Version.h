#pragma once

#include <QString>

namespace korvex::app {

// The one version of the program, from the build (CMake's project version).
inline const QString ProgramVersion = QStringLiteral(KORVEX_VERSION);
// Window and box titles: the platform adds nothing, since no display name is set.
inline const QString ProgramTitle = QStringLiteral("KORVEX " KORVEX_VERSION);

} // namespace korvex::app
