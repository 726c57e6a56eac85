// A frame drawn as the window was designed: an etched rectangle whose caption
// sits on its top line, so that the contents placed just below it stay clear.
#pragma once

#include <QGroupBox>

namespace marrowick {

class DesignedFrame : public QGroupBox {
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace marrowick
