// The pictures of the toolbar buttons, drawn here so that the program needs
// no image files: one simple, high-contrast symbol per button key.
#pragma once

#include <QIcon>
#include <QString>

namespace cfg::gui {

// Icon for a Toolbar1 or Toolbar2 key ("apre", "tempi", "visloop", ...); a
// plain square for an unknown key.
QIcon ToolbarIcon(const QString& key);

}  // namespace cfg::gui
