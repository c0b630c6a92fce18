#include "ui/seams/mask_store.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <filesystem>

#include "support/temp_folder.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::TempFolder;

// QSettings reads the folder once per process, so it is redirected before main() runs.
const TempFolder& ConfigHome() {
    static const TempFolder folder;
    return folder;
}
const bool Redirected = [] {
    return qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(ConfigHome().Path().string()));
}();

class MaskStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Redirected);
        std::filesystem::remove_all(StoreFile());
    }

    static std::string StoreFile() { return ConfigHome() / "Tomlet.conf"; }
    static void WriteStore(std::string_view content) {
        ConfigHome().WriteFile("Tomlet.conf", content);
    }
    // The value names the store holds under "Mask", sorted.
    static QStringList StoredNames() {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"Tomlet"_s);
        settings.beginGroup(u"Mask"_s);
        QStringList names = settings.childKeys();
        names.sort();
        return names;
    }

    SettingsMaskStore store;
};

TEST_F(MaskStoreTest, NoStoreReadsAsAnEmptyList) {
    const LoadedMasks loaded = store.Load();
    EXPECT_TRUE(loaded.Masks.isEmpty());
    EXPECT_TRUE(loaded.Error.isEmpty());
}

TEST_F(MaskStoreTest, SavedMasksComeBackInOrderFromTheUsersSettingsFile) {
    const QStringList masks{u"*.exe"_s, u"*.тхт"_s, u"a,b.txt"_s, u"*.EXE"_s, u""_s};
    EXPECT_TRUE(store.Save(masks).isEmpty());
    EXPECT_TRUE(std::filesystem::exists(StoreFile()));
    EXPECT_EQ(store.Load().Masks, masks);
    EXPECT_NE(testing::ReadWholeFile(StoreFile()).find("Count=5"), std::string::npos);
}

TEST_F(MaskStoreTest, AGapInTheNumberingGivesAnEmptyItem) {
    WriteStore("[Mask]\nCount=3\nMask0=*.exe\nMask2=*.txt\n");
    EXPECT_EQ(store.Load().Masks, (QStringList{u"*.exe"_s, u""_s, u"*.txt"_s}));
}

TEST_F(MaskStoreTest, ACountThatIsNoNumberOrNegativeGivesNoMasks) {
    for (const char* count : {"abc", "-2", "3x", ""}) {
        WriteStore(std::string("[Mask]\nCount=") + count + "\nMask0=*.exe\n");
        const LoadedMasks loaded = store.Load();
        EXPECT_TRUE(loaded.Masks.isEmpty()) << count;
        EXPECT_TRUE(loaded.Error.isEmpty()) << count;
    }
}

TEST_F(MaskStoreTest, SavingFewerMasksLeavesExactlyTheNewValues) {
    ASSERT_TRUE(store.Save({u"1.a"_s, u"2.a"_s, u"3.a"_s, u"4.a"_s, u"5.a"_s}).isEmpty());
    ASSERT_TRUE(store.Save({u"x.a"_s, u"y.a"_s, u"z.a"_s}).isEmpty());
    EXPECT_EQ(StoredNames(), (QStringList{u"Count"_s, u"Mask0"_s, u"Mask1"_s, u"Mask2"_s}));
    EXPECT_EQ(store.Load().Masks, (QStringList{u"x.a"_s, u"y.a"_s, u"z.a"_s}));

    ASSERT_TRUE(store.Save({}).isEmpty());
    EXPECT_EQ(StoredNames(), QStringList{u"Count"_s});
    EXPECT_NE(testing::ReadWholeFile(StoreFile()).find("Count=0"), std::string::npos);
}

TEST_F(MaskStoreTest, AValueThatIsNotTextStopsReadingWithAnError) {
    WriteStore("[Mask]\nCount=3\nMask0=*.exe\nMask1=*.a, *.b\nMask2=*.txt\n");
    LoadedMasks loaded = store.Load();
    EXPECT_EQ(loaded.Masks, QStringList{u"*.exe"_s});
    EXPECT_EQ(loaded.Error, u"Invalid data type for 'Mask1'"_s);

    WriteStore("[Mask]\nCount=1, 2\nMask0=*.exe\n");
    loaded = store.Load();
    EXPECT_TRUE(loaded.Masks.isEmpty());
    EXPECT_EQ(loaded.Error, u"Invalid data type for 'Count'"_s);
}

TEST_F(MaskStoreTest, AStoreThatCannotBeWrittenReportsIt) {
    // A folder where the settings file belongs cannot be replaced by a file, not even by the
    // superuser.
    std::filesystem::create_directory(StoreFile());
    EXPECT_FALSE(store.Save({u"*.exe"_s}).isEmpty());
}

}  // namespace
}  // namespace tomlet
