#pragma once

#include <QString>

class QToolButton;
class QWidget;

namespace korvex::app {

// A button of the graphic's toolbar, added at the end of the toolbar's row: a short picture
// of its meaning, drawn so the program needs no image files, and no focus, so the page keeps
// its keys.
QToolButton* AddToolbarButton(QWidget& toolbar, const char* name, const QString& picture,
                              bool checkable);

} // namespace korvex::app
