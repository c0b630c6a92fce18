#include "ui/dialogs/update_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

#include "core/disc_update.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::WithPath;

// New on disc: the folder Docs\New with a.txt and Sub (b.txt), and setup.exe; gone: two objects
// of the catalogue.
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
        return dialog().findChild<QLabel*>(QLatin1String(name))->text();
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

private:
    std::unique_ptr<Tfrm_Update> m_dialog;
};

TEST_F(UpdateDialogTest, ShowsBothListsWithCountsAllChecked) {
    EXPECT_EQ(Label("label_NewObjects"), u"New on disc: 5"_s);
    EXPECT_EQ(Label("label_MissingObjects"), u"Gone from disc: 2"_s);
    // A new folder's content goes by name below it.
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              "Docs\\New+ (a.txt+ Sub+ (b.txt+)) setup.exe+");
    const QTreeWidgetItem& missing = *List("list_MissingObjects").topLevelItem(0);
    EXPECT_EQ(missing.text(0), u"readme.txt"_s);
    EXPECT_EQ(missing.text(1), u"Read me first"_s);
    EXPECT_EQ(Outline(*List("list_MissingObjects").invisibleRootItem()), "readme.txt+ old.exe+");
    EXPECT_TRUE(dialog().LeftOut().empty());
}

TEST_F(UpdateDialogTest, ANewObjectComesOnlyWithItsFolder) {
    NewItem(u"Sub"_s).setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              "Docs\\New+ (a.txt+ Sub- (b.txt-)) setup.exe+");
    NewItem(u"Docs\\New"_s).setCheckState(0, Qt::Unchecked);
    NewItem(u"b.txt"_s).setCheckState(0, Qt::Checked);
    EXPECT_EQ(Outline(*List("tree_NewObjects").invisibleRootItem()),
              "Docs\\New+ (a.txt- Sub+ (b.txt+)) setup.exe+");

    NewItem(u"a.txt"_s).setCheckState(0, Qt::Unchecked);
    List("list_MissingObjects").topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(dialog().LeftOut(), (std::unordered_set<const ObjectNode*>{a, gone.TopLevel()[1]}));
}

}  // namespace
}  // namespace tomlet
