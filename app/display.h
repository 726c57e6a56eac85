// Whether the window has somewhere to show: one file per system.
#pragma once

namespace marrowick {

// Without a display Qt would abort with a message about platform plugins; on a
// system that can lack one, this says so first. QT_QPA_PLATFORM names another
// way to run.
bool HasDisplay();

}  // namespace marrowick
