#include <QSettings>

#include "ui/seams/mask_store.h"

namespace tomlet {

// Tomlet.conf in the user's configuration folder.
std::unique_ptr<QSettings> OpenMaskSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tomlet"));
}

}  // namespace tomlet
