// TEMPORARY: replaced by the attribute editor's real implementation.
#include "score_frm.h"

#include <QWidget>

namespace marrowick {

ScoreFrm::ScoreFrm(ParseIFF& parse, Desktop& desktop, QObject* parent)
    : QObject(parent), parse_(parse), desktop_(desktop) {}

ScoreFrm::~ScoreFrm() { delete window_; }

void ScoreFrm::Open(int, const QString&) {
    if (!window_) {
        window_ = new QWidget;
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    window_->show();
    window_->raise();
}

bool ScoreFrm::IsOpen() const { return !window_.isNull(); }

QWidget* ScoreFrm::window() const { return window_; }

}  // namespace marrowick
