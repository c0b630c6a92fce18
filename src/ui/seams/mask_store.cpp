#include "ui/seams/mask_store.h"

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

}  // namespace tomlet
