#include "placement.h"

#include <QRect>
#include <QWidget>

#include "window_look.h"

namespace marrowick {

namespace {

struct Placement {
    const char* name;
    int left, top, width, height;
};

// Twips, relative to the container (the window, or the frame that holds the
// control). Controls right of 5430 lie outside the designed inner area.
constexpr Placement kDesigned[] = {
    {"Command1", 120, 120, 2535, 375},    {"Command2", 2760, 120, 2535, 375},
    {"Frame3", 120, 600, 5175, 615},      {"Label1", 120, 240, 4935, 255},
    {"Frame4", 120, 1320, 5175, 3375},    {"List1", 120, 240, 4935, 2985},
    {"Command3", 120, 4800, 5175, 375},   {"Frame5", 120, 5280, 5175, 1455},
    {"Command4", 120, 240, 2415, 375},    {"Command5", 2640, 240, 2415, 375},
    {"Label8", 120, 840, 1455, 255},      {"Label7", 120, 1080, 1815, 255},
    {"Label4", 2640, 840, 1815, 255},     {"Label9", 2640, 1080, 1455, 255},
    {"TreeView1", 6840, 960, 3255, 4095}, {"Frame2", 6600, 5160, 2895, 975},
    {"Label2", 120, 240, 735, 255},       {"Text1", 720, 240, 2055, 285},
    {"Label3", 120, 600, 735, 255},       {"Text2", 720, 600, 2055, 285},
    {"Picture2", 6960, 1200, 495, 495},   {"Picture1", 7320, 1560, 855, 735},
    {"Frame1", 6840, 960, 4335, 3135},    {"OBJDesc", 120, 360, 4095, 2415},
    {"Label6", 8640, 1560, 855, 255},     {"txtPrice", 8400, 1920, 735, 285},
};

// The expanded view's column, in pixels: it starts one margin right of the
// designed frames and runs from the top buttons down to "Get GUID!". Only the
// controls that move are listed; the frames keep their size, so their own
// contents stay where they were designed.
struct Move {
    const char* name;
    int x, y;
};
constexpr int kColumn = 361;
constexpr int kDescriptionTop = 136;
constexpr Move kExpanded[] = {
    {"Picture1", kColumn, 8}, {"Label6", kColumn + 65, 10},         {"txtPrice", kColumn + 65, 30},
    {"Frame2", kColumn, 63},  {"Frame1", kColumn, kDescriptionTop},
};
constexpr const char* kHiddenWhenExpanded[] = {"TreeView1", "Picture2"};

QWidget* Control(QWidget& window, const char* name) {
    return window.findChild<QWidget*>(QLatin1String(name));
}

// The note on how the list was read is the expanded view's alone; it has one
// place, below the description frame and as wide as it, in both views.
void PlaceChunksNote(QWidget& window) {
    if (QWidget* note = Control(window, "ChunksNote")) {
        const QSize description = Twips(0, 0, 4335, 3135).size();
        note->setGeometry(kColumn, kDescriptionTop + description.height() + 6, description.width(),
                          32);
    }
}

}  // namespace

QSize DesignedClientSize() {
    return Twips(0, 0, 5430, 6855).size();
}

QSize ExpandedClientSize() {
    // The description frame is the widest control of the column.
    return {kColumn + Twips(0, 0, 4335, 0).width() + 8, DesignedClientSize().height()};
}

void PlaceAsDesigned(QWidget& window) {
    for (const Placement& p : kDesigned) {
        if (QWidget* control = Control(window, p.name)) {
            control->setGeometry(Twips(p.left, p.top, p.width, p.height));
        }
    }
    for (const char* name : kHiddenWhenExpanded) {
        if (QWidget* control = Control(window, name)) {
            control->show();
        }
    }
    PlaceChunksNote(window);
    window.setFixedSize(DesignedClientSize());
}

void PlaceExpanded(QWidget& window) {
    for (const Move& m : kExpanded) {
        if (QWidget* control = Control(window, m.name)) {
            control->move(m.x, m.y);
        }
    }
    for (const char* name : kHiddenWhenExpanded) {
        if (QWidget* control = Control(window, name)) {
            control->hide();
        }
    }
    PlaceChunksNote(window);
    window.setFixedSize(ExpandedClientSize());
}

}  // namespace marrowick
