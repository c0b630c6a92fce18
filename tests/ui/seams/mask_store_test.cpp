#include "ui/seams/mask_store.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSettings>
#include <filesystem>
#include <utility>
#include <vector>

#include "support/file_system_faults.h"
#include "support/temp_folder.h"
#include "support/test_system.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::TempFolder;

// QSettings reads the folder once per process, so it is redirected before main() runs. Windows
// keeps the store in the registry, which cannot be redirected: the tests put back what it held.
const TempFolder& ConfigHome() {
    static const TempFolder folder;
    return folder;
}
const bool Redirected = [] {
    return qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(ConfigHome().Path().string()));
}();

using StoredValues = std::vector<std::pair<QString, QVariant>>;

class MaskStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Redirected);
        const auto settings = OpenMaskSettings();
        settings->beginGroup(u"Mask"_s);
        for (const QString& name : settings->childKeys())
            m_userValues.emplace_back(name, settings->value(name));
        settings->endGroup();
        settings->remove(u"Mask"_s);
    }
    void TearDown() override { WriteStore(m_userValues); }

    // Replaces what the store holds under "Mask", values typed as given.
    static void WriteStore(const StoredValues& values) {
        const auto settings = OpenMaskSettings();
        settings->remove(u"Mask"_s);
        for (const auto& [name, value] : values)
            settings->setValue(u"Mask/"_s + name, value);
    }
    // The value names the store holds under "Mask", sorted.
    static QStringList StoredNames() {
        const auto settings = OpenMaskSettings();
        settings->beginGroup(u"Mask"_s);
        QStringList names = settings->childKeys();
        names.sort();
        return names;
    }

    SettingsMaskStore store;

private:
    StoredValues m_userValues;
};

TEST_F(MaskStoreTest, NoStoreReadsAsAnEmptyList) {
    const LoadedMasks loaded = store.Load();
    EXPECT_TRUE(loaded.Masks.isEmpty());
    EXPECT_TRUE(loaded.Error.isEmpty());
}

TEST_F(MaskStoreTest, SavedMasksComeBackInOrderAsTextValuesOfTheUsersStore) {
    const QStringList masks{u"*.exe"_s, u"*.тхт"_s, u"a,b.txt"_s, u"*.EXE"_s, u""_s};
    EXPECT_TRUE(store.Save(masks).isEmpty());
    EXPECT_EQ(store.Load().Masks, masks);
    if (testing::OnWindows) {
        // What the registry holds, read as a user would with reg.exe.
        QProcess reg;
        reg.start(u"reg.exe"_s, {u"query"_s, u"HKCU\\Software\\Tomlet\\Mask"_s});
        ASSERT_TRUE(reg.waitForFinished(30000));
        const QString listed = QString::fromLocal8Bit(reg.readAllStandardOutput()).simplified();
        EXPECT_TRUE(listed.contains(u"Count REG_SZ 5"_s)) << listed.toStdString();
        EXPECT_TRUE(listed.contains(u"Mask0 REG_SZ *.exe"_s)) << listed.toStdString();
    } else {
        const std::string file = testing::ReadWholeFile(ConfigHome() / "Tomlet.conf");
        EXPECT_NE(file.find("Count=5"), std::string::npos) << file;
    }
}

TEST_F(MaskStoreTest, AGapInTheNumberingGivesAnEmptyItem) {
    WriteStore({{u"Count"_s, u"3"_s}, {u"Mask0"_s, u"*.exe"_s}, {u"Mask2"_s, u"*.txt"_s}});
    EXPECT_EQ(store.Load().Masks, (QStringList{u"*.exe"_s, u""_s, u"*.txt"_s}));
}

TEST_F(MaskStoreTest, ACountThatIsNoNumberOrNegativeGivesNoMasks) {
    for (const QString& count : {u"abc"_s, u"-2"_s, u"3x"_s, u""_s}) {
        WriteStore({{u"Count"_s, count}, {u"Mask0"_s, u"*.exe"_s}});
        const LoadedMasks loaded = store.Load();
        EXPECT_TRUE(loaded.Masks.isEmpty()) << count.toStdString();
        EXPECT_TRUE(loaded.Error.isEmpty()) << count.toStdString();
    }
}

TEST_F(MaskStoreTest, SavingFewerMasksLeavesExactlyTheNewValues) {
    ASSERT_TRUE(store.Save({u"1.a"_s, u"2.a"_s, u"3.a"_s, u"4.a"_s, u"5.a"_s}).isEmpty());
    ASSERT_TRUE(store.Save({u"x.a"_s, u"y.a"_s, u"z.a"_s}).isEmpty());
    EXPECT_EQ(StoredNames(), (QStringList{u"Count"_s, u"Mask0"_s, u"Mask1"_s, u"Mask2"_s}));
    EXPECT_EQ(store.Load().Masks, (QStringList{u"x.a"_s, u"y.a"_s, u"z.a"_s}));

    ASSERT_TRUE(store.Save({}).isEmpty());
    EXPECT_EQ(StoredNames(), QStringList{u"Count"_s});
    EXPECT_EQ(OpenMaskSettings()->value(u"Mask/Count"_s), QVariant(u"0"_s));
}

// A list (a multi-string in the registry) is no text.
TEST_F(MaskStoreTest, AValueThatIsNotTextStopsReadingWithAnError) {
    WriteStore({{u"Count"_s, u"3"_s},
                {u"Mask0"_s, u"*.exe"_s},
                {u"Mask1"_s, QStringList{u"*.a"_s, u"*.b"_s}},
                {u"Mask2"_s, u"*.txt"_s}});
    LoadedMasks loaded = store.Load();
    EXPECT_EQ(loaded.Masks, QStringList{u"*.exe"_s});
    EXPECT_EQ(loaded.Error, u"Invalid data type for 'Mask1'"_s);

    WriteStore({{u"Count"_s, QStringList{u"1"_s, u"2"_s}}, {u"Mask0"_s, u"*.exe"_s}});
    loaded = store.Load();
    EXPECT_TRUE(loaded.Masks.isEmpty());
    EXPECT_EQ(loaded.Error, u"Invalid data type for 'Count'"_s);
}

// A folder or a pipe where the settings file belongs is never opened (on a pipe QSettings would
// wait for good): reading and writing the store fail, saying why. Windows keeps the store in the
// registry, which cannot be barred from the user.
TEST_F(MaskStoreTest, AStoreThatIsNoFileIsNeverOpened) {
    SKIP_ON_WINDOWS("the registry holds the store");
    const std::string file = ConfigHome() / "Tomlet.conf";
    for (const bool pipe : {false, true}) {
        std::filesystem::remove(file);
        ASSERT_TRUE(pipe ? testing::MakeNamedPipe(file) : std::filesystem::create_directory(file));
        EXPECT_TRUE(store.Load().Error.endsWith(u"a folder, a pipe or a device"_s));
        EXPECT_TRUE(store.Save({u"*.exe"_s}).endsWith(u"a folder, a pipe or a device"_s));
    }
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace tomlet
