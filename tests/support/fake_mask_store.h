#pragma once

#include <map>

#include "ui/seams/mask_store.h"

namespace tomlet::testing {

// A mask store in memory that counts what it was asked.
class FakeMaskStore final : public MaskStore {
public:
    QStringList Masks;  // what Load gives and Save replaces
    QString LoadError;  // given with the masks by Load
    QString SaveError;  // returned by Save, which then stores nothing
    int Loads = 0;
    int Saves = 0;

    std::map<QString, UpdateChoice> UpdateChoices;  // by project file

    LoadedMasks Load() override;
    QString Save(const QStringList& masks) override;
    std::optional<UpdateChoice> LoadUpdateChoice(const QString& projectFile) override;
    void SaveUpdateChoice(const QString& projectFile, const UpdateChoice& choice) override;
};

}  // namespace tomlet::testing
