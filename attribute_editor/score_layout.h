// Where the editor's controls sit: the designed geometry, which leaves most
// groups outside the window, and the details arrangement that brings every
// group into view. Each returns the window's client size for its arrangement.
#pragma once

#include <QSize>

namespace marrowick {

struct ScoreControls;

QSize ApplyDesignedLayout(const ScoreControls& controls);
QSize ApplyDetailsLayout(const ScoreControls& controls);

}  // namespace marrowick
