// Where the main window's controls stand: as designed, and in the expanded view
// that brings the detail view into the window.
#pragma once

#include <QSize>

class QWidget;

namespace marrowick {

// The designed inner area: 5430 x 6855 twips.
QSize DesignedClientSize();
QSize ExpandedClientSize();

// Puts every control at its designed position (left, top, width, height in
// twips, relative to its container) and shows the ones the expanded view hides.
void PlaceAsDesigned(QWidget& window);

// Moves the detail view (description, picture, price, buy mode) into a column
// right of the object list; the controls that have no part in it are hidden.
void PlaceExpanded(QWidget& window);

}  // namespace marrowick
