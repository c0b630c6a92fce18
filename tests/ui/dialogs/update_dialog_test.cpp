#include "ui/dialogs/update_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QTreeWidget>

#include "core/disc_update.h"
#include "support/control_letters.h"
#include "support/fake_mask_store.h"
#include "support/fake_prompts.h"
#include "support/tree_records.h"
#include "ui/base/access_letters.h"
#include "ui/dialogs/scan_dialog.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::WithPath;

// New on disc: the folder Docs\New with a.txt and Sub (b.txt), and setup.exe; gone: two objects
// of the catalogue; renamed: logo.bmp, now Pics\logo2.bmp.
class UpdateDialogTest : public ::testing::Test {
protected:
    UpdateDialogTest() {
        ObjectNode* folder = changes.New.Append(nullptr, WithPath("New", "Docs\\New", otFolder));
        a = changes.New.Append(folder, WithPath("a.txt", "Docs\\New\\a.txt"));
        ObjectNode* sub = changes.New.Append(folder, WithPath("Sub", "Docs\\New\\Sub", otFolder));
        changes.New.Append(sub, WithPath("b.txt", "Docs\\New\\Sub\\b.txt"));
        changes.New.Append(nullptr, WithPath("setup.exe", "setup.exe"));
        gone.Append(nullptr, WithPath("Read me first", "readme.txt"));
        gone.Append(nullptr, WithPath("Old driver", "old.exe"));
        changes.Missing = gone.TopLevel();
        logo = gone.Append(nullptr, WithPath("Logo", "logo.bmp"));
        changes.Renamed.push_back(
            {logo, changes.New.Append(nullptr, WithPath("logo2.bmp", "Pics\\logo2.bmp")), {}});
    }

    // Each item as "text" with its check, children in parentheses: "New+ (a.txt+ ...)".
    static std::string Outline(const QTreeWidgetItem& parent) {
        std::string outline;
        for (int i = 0; i < parent.childCount(); ++i) {
            const QTreeWidgetItem& item = *parent.child(i);
            outline += (outline.empty() ? "" : " ") + item.text(0).toStdString() +
                       (item.checkState(0) == Qt::Checked ? "+" : "-");
            if (item.childCount() > 0)
                outline += " (" + Outline(item) + ")";
        }
        return outline;
    }
    QTreeWidget& List(const char* name) {
        return *dialog().findChild<QTreeWidget*>(QLatin1String(name));
    }
    QString Label(const char* name) {
        return WithoutAccessLetter(dialog().findChild<QLabel*>(QLatin1String(name))->text());
    }
    // Items of the new objects' tree by their text.
    QTreeWidgetItem& NewItem(const QString& text) {
        return *List("tree_NewObjects").findItems(text, Qt::MatchExactly | Qt::MatchRecursive)[0];
    }
    Tfrm_Update& dialog() {
        if (!m_dialog)
            m_dialog = std::make_unique<Tfrm_Update>(changes);
        return *m_dialog;
    }

    DiscChanges changes;
    ObjectTree gone;
    ObjectNode* a = nullptr;
    ObjectNode* logo = nullptr;

private:
    std::unique_ptr<Tfrm_Update> m_dialog;
};

TEST_F(UpdateDialogTest, ShowsEveryListWithCountsAllChecked) {
    EXPECT_EQ(Label("label_NewObjects"), u"New on disc: 5"_s);
    EXPECT_EQ(Label("label_RenamedObjects"), u"Renamed or moved: 1"_s);
    EXPECT_EQ(Label("label_MissingObjects"), u"Gone from disc: 2"_s);
    // A new folder's content goes by name below it; paths are written as the system writes them.
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              QDir::toNativeSeparators(u"Docs/New"_s).toStdString() +
                  "+ (a.txt+ Sub+ (b.txt+)) setup.exe+");
    const QTreeWidgetItem& renamed = *List("list_RenamedObjects").topLevelItem(0);
    EXPECT_EQ(renamed.text(0), QDir::toNativeSeparators(u"logo.bmp \u2192 Pics/logo2.bmp"_s));
    EXPECT_EQ(renamed.text(1), u"Logo"_s);
    const QTreeWidgetItem& missing = *List("list_MissingObjects").topLevelItem(0);
    EXPECT_EQ(missing.text(0), u"readme.txt"_s);
    EXPECT_EQ(missing.text(1), u"Read me first"_s);
    EXPECT_EQ(Outline(*List("list_MissingObjects").invisibleRootItem()), "readme.txt+ old.exe+");
    EXPECT_TRUE(dialog().LeftOut().empty());
}

TEST_F(UpdateDialogTest, ANewObjectComesOnlyWithItsFolderAndTheCountsFollowTheChecks) {
    const QString folder = QDir::toNativeSeparators(u"Docs/New"_s);
    NewItem(u"Sub"_s).setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              folder.toStdString() + "+ (a.txt+ Sub- (b.txt-)) setup.exe+");
    EXPECT_EQ(Label("label_NewObjects"), u"New on disc: 3"_s);
    NewItem(folder).setCheckState(0, Qt::Unchecked);
    NewItem(u"b.txt"_s).setCheckState(0, Qt::Checked);
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              folder.toStdString() + "+ (a.txt- Sub+ (b.txt+)) setup.exe+");

    NewItem(u"a.txt"_s).setCheckState(0, Qt::Unchecked);
    List("list_MissingObjects").topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    List("list_RenamedObjects").topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(Label("label_MissingObjects"), u"Gone from disc: 1"_s);
    EXPECT_EQ(Label("label_RenamedObjects"), u"Renamed or moved: 0"_s);
    EXPECT_EQ(dialog().LeftOut(),
              (std::unordered_set<const ObjectNode*>{a, gone.TopLevel()[1], logo}));
}

// Every button, group and label of a list in the review and in the update's options takes a
// letter of its own, as menu items do.
TEST_F(UpdateDialogTest, EachControlHasAnAccessLetterOfItsOwn) {
    testing::FakePrompts prompts;
    testing::FakeMaskStore masks;
    Tfrm_Scan options(prompts, masks, {}, {});
    const std::pair<QWidget*, int> dialogs[] = {{&dialog(), 5}, {&options, 9}};
    for (const auto& [window, controls] : dialogs) {
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_EQ(testing::ExpectControlLetters(*window), controls);
    }
}

}  // namespace
}  // namespace tomlet
