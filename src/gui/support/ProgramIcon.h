#pragma once

#include <QByteArray>
#include <QIcon>

namespace lockvale {

// The program's icon, drawn at the usual sizes so that no SVG support is needed to show it.
QIcon ProgramIcon();

// The icon as SVG, for the desktop's icon folder.
QByteArray ProgramIconSvg();

}  // namespace lockvale
