#include "score_frm.h"

#include "parse_iff.h"
#include "score_window.h"

namespace marrowick {

ScoreFrm::ScoreFrm(ParseIFF& parse, Desktop& /*desktop*/, QObject* parent)
    : QObject(parent), parse_(parse), state_(parse) {}

ScoreFrm::~ScoreFrm() {
    delete window_;
}

void ScoreFrm::Open(int currentObject, const QString& entryText) {
    if (window_.isNull()) {
        // Loading needs a listed object; the main window checks the same before
        // it asks.
        if (currentObject < 0 || currentObject >= parse_.ObjdCount) {
            return;
        }
        window_ = new ScoreWindow(state_);
        // A closed window waits for the event loop to delete it; from the
        // moment it closes the editor counts as closed.
        connect(window_, &ScoreWindow::closed, this, [this] { window_ = nullptr; });
        ParseIFF::FileScope open(parse_);  // one descriptor for all five decodes
        window_->Form_Load(currentObject, entryText);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool ScoreFrm::IsOpen() const {
    return !window_.isNull();
}

QWidget* ScoreFrm::window() const {
    return window_;
}

ScoreWindow* ScoreFrm::scoreWindow() const {
    return window_;
}

}  // namespace marrowick
