#include <QSettings>

#include "ui/seams/mask_store.h"

namespace tomlet {

// The registry key itself, named in full.
std::unique_ptr<QSettings> OpenMaskSettings() {
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tomlet"),
                                       QSettings::NativeFormat);
}

}  // namespace tomlet
