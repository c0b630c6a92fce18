#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

#include "core/language_file.h"
#include "main_window_test_support.h"
#include "support/progress_cancel.h"
#include "support/shelf_catalogues.h"
#include "support/tree_records.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Placed;
using testing::Record;

// The Shelf window as the main window opens it, and the catalogues of its hits opened there.
class ShelfCommandsTest : public ::testing::Test, public testing::MainWindowFixture {
protected:
    void TearDown() override { SetCurrentLanguageFile({}); }

    // A catalogue whose net.inf lies two folders deep, below enough objects to need scrolling.
    std::string WriteDrivers() {
        std::vector<Placed> objects(200, Placed{0, Record("readme")});
        objects.push_back({0, Record("Setup", otFolder)});
        objects.push_back({1, Record("Drivers", otFolder)});
        objects.push_back({2, Record("net.inf")});
        return testing::WriteCatalogue(folder, "discs/drivers.tml", "Drivers disc", objects,
                                       folder / "");
    }
};

TEST_F(ShelfCommandsTest, EnterOnAHitOpensItsCatalogueInTheBrowserWithTheObjectInView) {
    const std::string drivers = WriteDrivers();
    Start();
    Window().show();
    ASSERT_TRUE(Ui().menu_File->actions().contains(Ui().a_files_item_Shelf));
    ASSERT_TRUE(Ui().toolbar_Editor->actions().contains(Ui().a_files_item_Shelf));
    Ui().a_view_item_Editor->trigger();
    OpenProjectIn(folder / "");

    OpenFromShelf(drivers, u"net.inf"_s);
    Ui().a_files_item_Shelf->trigger();  // the same window again
    EXPECT_EQ(Window().findChildren<Tfrm_Shelf*>().size(), 1);
    EXPECT_TRUE(ShelfWindow()->isVisible());

    EXPECT_TRUE(Window().IsBrowserView());
    EXPECT_EQ(Window().Session().CurrentFileName(), drivers);
    EXPECT_EQ(Ui().menu_RecentProjects->actions().at(0)->data().toString(),
              QString::fromStdString(drivers));
    const ObjectNode* selected = TreeView().SelectedNode();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Data.Caption, "net.inf");
    for (const ObjectNode* parent = selected->Parent(); parent != nullptr;
         parent = parent->Parent())
        EXPECT_TRUE(TreeView().isExpanded(Model().IndexFromNode(parent))) << parent->Data.Caption;
    const QRect shown = TreeView().visualRect(Model().IndexFromNode(selected));
    EXPECT_TRUE(TreeView().viewport()->rect().contains(shown));
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.MessageTexts().join(u'\n').toStdString();
}

TEST_F(ShelfCommandsTest, AChangeOfLanguageTranslatesTheOpenShelfWindowKeepingItsSearch) {
    folder.WriteFile("Test.lng", "[frm_Shelf]\r\nForm.Caption=Regal\r\n");
    Start();
    Ui().a_files_item_Shelf->trigger();
    auto* text = ShelfWindow()->findChild<QLineEdit*>(u"edit_Text"_s);
    text->setText(u"net"_s);
    testing::Pick(Window(), u"Test"_s);
    EXPECT_EQ(ShelfWindow()->windowTitle(), u"Regal"_s);
    EXPECT_TRUE(ShelfWindow()->isVisible());
    EXPECT_EQ(text->text(), u"net"_s);
}

TEST_F(ShelfCommandsTest, TheMainWindowStaysOpenWhileTheShelfIsIndexing) {
    const std::string large = testing::WriteCatalogue(
        folder, "large.tml", "Large", std::vector<Placed>(100'000, Placed{0, Record("setup")}));
    Start();
    Window().show();
    Ui().a_files_item_Shelf->trigger();
    bool closed = true;
    testing::CancelProgressWhenShown(Window(), [&] { closed = Window().close(); });
    ShelfWindow()->AddCatalogues({QString::fromStdString(large)});
    EXPECT_FALSE(closed);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(ShelfWindow()->isVisible());

    Ui().a_files_item_Exit->trigger();  // once the indexing has ended, both go
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(ShelfWindow()->isVisible());
}

}  // namespace
}  // namespace tomlet
