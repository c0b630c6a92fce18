#include "ui/shelf/shelf_window.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include "support/fake_prompts.h"
#include "support/progress_cancel.h"
#include "support/shelf_catalogues.h"
#include "support/tree_records.h"
#include "ui/base/qt_text.h"

namespace tomlet {
namespace {

using namespace Qt::StringLiterals;
using testing::Record;
using testing::WithPath;
using testing::WriteCatalogue;

class ShelfWindowTest : public ::testing::Test {
protected:
    ShelfWindowTest()
        : drivers(ToQString(WriteCatalogue(folder, "drivers.tml", "Drivers disc",
                                           {{0, WithPath("Setup", "Setup", otFolder)},
                                            {1, WithPath("net.inf", "Setup\\net.inf")}}))),
          backup(ToQString(WriteCatalogue(folder, "backup.tml", "Backup 2003",
                                          {{0, Record("Photos", otVirtualFolder)},
                                           {1, Record("Network setup", otExecuteFile)}}))),
          window(prompts, folder / "shelf.sqlite") {}

    template <class Widget>
    Widget* Child(const char* name) {
        auto* child = window.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QStringList CatalogueTitles() {
        QStringList titles;
        const auto* list = Child<QTreeWidget>("tree_Catalogues");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            titles.append(list->topLevelItem(i)->text(0));
        return titles;
    }

    // The caption and the place in the tree of each hit listed.
    QStringList Hits() {
        QStringList hits;
        const QAbstractItemModel* model = Child<QTreeView>("list_Hits")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            hits.append(model->index(row, 1).data().toString() + u" @ "_s +
                        model->index(row, 2).data().toString());
        return hits;
    }

    testing::TempFolder folder;
    testing::FakePrompts prompts;
    QString drivers;
    QString backup;
    Tfrm_Shelf window;
};

TEST_F(ShelfWindowTest, ASearchListsItsHitsAndEnterAsksToOpenTheOneChosen) {
    window.AddCatalogues({drivers, backup});
    EXPECT_EQ(CatalogueTitles(), (QStringList{u"Drivers disc"_s, u"Backup 2003"_s}));
    window.show();
    QSignalSpy opened(&window, &Tfrm_Shelf::OpenRequested);

    QTest::keyClicks(Child<QLineEdit>("edit_Text"), u"NET"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Hits().size() == 2; }));
    EXPECT_EQ(Hits(), (QStringList{u"Setup / net.inf @ Drivers disc"_s,
                                   u"Photos / Network setup @ Backup 2003"_s}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Child<QLabel>("label_Found")->text() == u"Objects found: 2"_s; }));

    auto* list = Child<QTreeView>("list_Hits");
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], (QVariantList{backup, 1}));
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(ShelfWindowTest, DroppedCataloguesAndChosenFilesGoOnTheShelf) {
    QMimeData dropped;
    const QString notes = ToQString(folder.WriteFile("notes.txt", "notes"));
    dropped.setUrls({QUrl::fromLocalFile(QDir::fromNativeSeparators(drivers)),
                     QUrl::fromLocalFile(QDir::fromNativeSeparators(notes))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return CatalogueTitles().size() == 1; }));

    prompts.OpenManyAnswers.push_back({backup});
    Child<QAction>("a_shelf_item_AddFiles")->trigger();
    EXPECT_EQ(CatalogueTitles(), (QStringList{u"Drivers disc"_s, u"Backup 2003"_s}));
    EXPECT_EQ(prompts.FileDialogFilters,
              QStringList{u"Tomlet files (*.tml)|*.tml|Any files|*.*"_s});
}

TEST_F(ShelfWindowTest, CancelInTheProgressWindowLeavesTheCatalogueUnread) {
    std::vector<testing::Placed> objects(200'000, {0, Record("setup")});
    const QString large = ToQString(WriteCatalogue(folder, "large.tml", "Large", objects));
    testing::CancelProgressWhenShown(window);
    window.AddCatalogues({large});
    const auto* list = Child<QTreeWidget>("tree_Catalogues");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1), u"not indexed"_s);
}

}  // namespace
}  // namespace tomlet
