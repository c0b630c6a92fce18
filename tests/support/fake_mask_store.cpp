#include "support/fake_mask_store.h"

namespace tomlet::testing {

LoadedMasks FakeMaskStore::Load() {
    ++Loads;
    return {Masks, LoadError};
}

QString FakeMaskStore::Save(const QStringList& masks) {
    ++Saves;
    if (SaveError.isEmpty())
        Masks = masks;
    return SaveError;
}

}  // namespace tomlet::testing
