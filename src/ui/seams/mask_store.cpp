#include "ui/seams/mask_store.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

#include "ui/base/settings_file.h"

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

const QString MaskGroup = u"Mask"_s;
const QString CountName = u"Count"_s;

// A damaged count must not fill the dialog for minutes.
constexpr int MaxMaskCount = 10000;

QString MaskName(int index) {
    return u"Mask"_s + QString::number(index);
}

QString WrongTypeError(const QString& name) {
    return u"Invalid data type for '"_s + name + u"'"_s;
}

// Values are text; anything else (a number or a binary value in the registry, a list in a
// settings file) is refused as the registry refuses reading it as a string.
bool IsText(const QVariant& value) {
    return value.typeId() == QMetaType::QString;
}

// Said of a settings file that is no regular file, which is never opened: on a pipe QSettings
// would wait for good.
const QString NoFile = u": it is no file but a folder, a pipe or a device"_s;

// A project's group: named by a hash of the file's absolute path, which may hold the separators
// that settings keys use for groups; the path itself is kept as "File" in it.
QString UpdateChoiceGroup(const QString& projectFile) {
    const QByteArray path = QFileInfo(projectFile).absoluteFilePath().toUtf8();
    return u"ProjectUpdates/"_s +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex());
}

// The store's settings when they can be read and written.
std::unique_ptr<QSettings> UsableMaskSettings() {
    if (!NonRegularSettingsFile(QSettings::NativeFormat, u"Tomlet"_s).isEmpty())
        return nullptr;
    auto settings = OpenMaskSettings();
    return settings->status() == QSettings::NoError ? std::move(settings) : nullptr;
}

}  // namespace

LoadedMasks SettingsMaskStore::Load() {
    LoadedMasks stored;
    if (const QString file = NonRegularSettingsFile(QSettings::NativeFormat, u"Tomlet"_s);
        !file.isEmpty()) {
        stored.Error = u"The mask list cannot be read from "_s + file + NoFile;
        return stored;
    }
    const auto settings = OpenMaskSettings();
    if (settings->status() != QSettings::NoError) {
        stored.Error = u"The mask list cannot be read from "_s + settings->fileName();
        return stored;
    }
    settings->beginGroup(MaskGroup);
    const QVariant countValue = settings->value(CountName);
    if (!countValue.isValid())
        return stored;
    if (!IsText(countValue)) {
        stored.Error = WrongTypeError(CountName);
        return stored;
    }
    bool isNumber = false;
    const int count = std::min(countValue.toString().toInt(&isNumber, 10), MaxMaskCount);
    for (int i = 0; isNumber && i < count; ++i) {
        const QVariant mask = settings->value(MaskName(i));
        if (mask.isValid() && !IsText(mask)) {
            stored.Error = WrongTypeError(MaskName(i));
            break;
        }
        stored.Masks.append(mask.toString());
    }
    return stored;
}

QString SettingsMaskStore::Save(const QStringList& masks) {
    if (const QString file = NonRegularSettingsFile(QSettings::NativeFormat, u"Tomlet"_s);
        !file.isEmpty())
        return u"The mask list cannot be written to "_s + file + NoFile;
    const auto settings = OpenMaskSettings();
    settings->remove(MaskGroup);
    settings->beginGroup(MaskGroup);
    settings->setValue(CountName, QString::number(masks.size()));
    for (int i = 0; i < masks.size(); ++i)
        settings->setValue(MaskName(i), masks[i]);
    settings->endGroup();
    settings->sync();
    if (settings->status() != QSettings::NoError)
        return u"The mask list cannot be written to "_s + settings->fileName();
    return {};
}

std::optional<UpdateChoice> SettingsMaskStore::LoadUpdateChoice(const QString& projectFile) {
    const auto settings = UsableMaskSettings();
    if (!settings)
        return std::nullopt;
    settings->beginGroup(UpdateChoiceGroup(projectFile));
    const QVariant count = settings->value(CountName);
    const QVariant nested = settings->value(u"Nested"_s);
    if (!IsText(count) || !IsText(nested))
        return std::nullopt;
    UpdateChoice choice;
    choice.Nested = nested.toString() != u"0"_s;
    const int masks = std::min(count.toString().toInt(), MaxMaskCount);
    for (int i = 0; i < masks; ++i) {
        const QVariant mask = settings->value(MaskName(i));
        if (!IsText(mask))
            return std::nullopt;
        choice.Masks.append(mask.toString());
    }
    return choice;
}

void SettingsMaskStore::SaveUpdateChoice(const QString& projectFile, const UpdateChoice& choice) {
    const auto settings = UsableMaskSettings();
    if (!settings)
        return;
    const QString group = UpdateChoiceGroup(projectFile);
    settings->remove(group);
    settings->beginGroup(group);
    settings->setValue(u"File"_s, QFileInfo(projectFile).absoluteFilePath());
    settings->setValue(CountName, QString::number(choice.Masks.size()));
    for (int i = 0; i < choice.Masks.size(); ++i)
        settings->setValue(MaskName(i), choice.Masks[i]);
    settings->setValue(u"Nested"_s, choice.Nested ? u"1"_s : u"0"_s);
    settings->endGroup();
    settings->sync();
}

}  // namespace tomlet
