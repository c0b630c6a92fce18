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

std::optional<UpdateChoice> FakeMaskStore::LoadUpdateChoice(const QString& projectFile) {
    const auto stored = UpdateChoices.find(projectFile);
    return stored != UpdateChoices.end() ? std::optional(stored->second) : std::nullopt;
}

void FakeMaskStore::SaveUpdateChoice(const QString& projectFile, const UpdateChoice& choice) {
    UpdateChoices.insert_or_assign(projectFile, choice);
}

}  // namespace tomlet::testing
