// The progress of the window's GUID check, with its Cancel.
#pragma once

#include <QStringList>

#include <memory>

#include "guid_check.h"
#include "read_progress_dialog.h"

namespace marrowick {

// The report's title: "GUID Conflicts – downloads, GameData", and "(read by
// chunks)" after it for a check that read files without a map so.
QString CheckTitle(const QStringList& paths, bool readByChunks = false);

class GuidCheckDialog final : public ReadProgressDialog {
    Q_OBJECT
  public:
    // Starts checking `paths` (absolute) at once and shows itself. It deletes
    // itself once the check has ended or been cancelled.
    GuidCheckDialog(const QStringList& paths, bool readChunks, QWidget* parent, Pace pace = {});

  signals:
    // The whole collection was read; never sent after Cancel.
    void Finished(std::shared_ptr<const marrowick::GuidCheck> check);
};

}  // namespace marrowick
