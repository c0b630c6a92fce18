#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace tomlet {

// The masks read from the store. When reading stopped at a damaged value, Masks holds what was
// read before it and Error says what went wrong; otherwise Error is empty.
struct LoadedMasks {
    QStringList Masks;
    QString Error;
};

// The masks and the nested choice an update of one project was last run with.
struct UpdateChoice {
    QStringList Masks;
    bool Nested = true;
    bool operator==(const UpdateChoice&) const = default;
};

// Where the scan dialog keeps its mask list between runs, as the values "Count", "Mask0",
// "Mask1", … of the key "Mask"; and the choice of each project's last update, by the project
// file, under "ProjectUpdates".
class MaskStore {
public:
    virtual ~MaskStore() = default;

    // A missing key or count reads as no masks, a count that is not a decimal number or is
    // negative as none, a missing mask as an empty one.
    virtual LoadedMasks Load() = 0;
    // Replaces the whole stored list; returns an error text, empty when saved.
    virtual QString Save(const QStringList& masks) = 0;

    // The choice stored for the project file; nothing when none is stored or it cannot be read
    // (a convenience, never a reason to stop an update).
    virtual std::optional<UpdateChoice> LoadUpdateChoice(const QString& projectFile) = 0;
    virtual void SaveUpdateChoice(const QString& projectFile, const UpdateChoice& choice) = 0;
};

// The current user's store: the registry key HKEY_CURRENT_USER\Software\Tomlet on Windows, the
// per-user settings file Tomlet.conf elsewhere.
std::unique_ptr<QSettings> OpenMaskSettings();

// The list in the current user's store (OpenMaskSettings).
class SettingsMaskStore final : public MaskStore {
public:
    LoadedMasks Load() override;
    QString Save(const QStringList& masks) override;
    std::optional<UpdateChoice> LoadUpdateChoice(const QString& projectFile) override;
    void SaveUpdateChoice(const QString& projectFile, const UpdateChoice& choice) override;
};

}  // namespace tomlet
