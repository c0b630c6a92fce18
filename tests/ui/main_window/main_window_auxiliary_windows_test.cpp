#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "main_window_test_support.h"
#include "support/modal_answers.h"
#include "ui/dialogs/about_window.h"
#include "ui/progress/gauge.h"
#include "ui/progress/progress_window.h"
#include "ui/progress/splash_window.h"

namespace tomlet {
namespace {

using testing::ModalAnswers;

// The windows the main window opens besides its own: the about window and the progress of long
// operations.
class MainWindowAuxiliaryWindowsTest : public ::testing::Test, public testing::MainWindowFixture {};

TEST_F(MainWindowAuxiliaryWindowsTest, AboutOpensModallyWithoutAnOwnerInBothViews) {
    Start();
    for (QAction* view : {Ui().a_view_item_Browser, Ui().a_view_item_Editor}) {
        view->trigger();
        Idle();
        ASSERT_TRUE(Ui().a_about_item_AboutProgram->isEnabled());
        const Tfrm_About* seen = nullptr;
        QWidget* owner = &Window();
        ModalAnswers answers({[&](QWidget& window) {
            seen = qobject_cast<Tfrm_About*>(&window);
            owner = window.parentWidget();
            window.close();
        }});
        Ui().a_about_item_AboutProgram->trigger();
        EXPECT_NE(seen, nullptr);
        EXPECT_EQ(owner, nullptr);
    }
    EXPECT_TRUE(prompts.Messages.empty());  // nothing escaped the command
}

TEST_F(MainWindowAuxiliaryWindowsTest, LoadingReportsToTheProgressItIsGivenAndLeavesNoWindow) {
    const std::string path = WriteProject("catalogue.tml", TProjectRec{}, 500);
    Start();
    Ui().a_view_item_Editor->trigger();
    // As at start-up: with a splash set, the sink shows the load on the splash's gauge.
    Tfrm_Splash splash;
    progress.SetSplash(&splash);
    Open(path);
    progress.SetSplash(nullptr);
    EXPECT_EQ(splash.gauge()->Maximum(), 500);
    EXPECT_EQ(splash.gauge()->Value(), 500);

    // Straight after the load, with no events let through.
    prompts.OpenAnswers.push_back(QString::fromStdString(path));
    Ui().a_files_item_Open->trigger();
    EXPECT_EQ(Model().Tree().Count(), 500);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<Tfrm_Progress*>(widget), nullptr);
    EXPECT_FALSE(progress.Step());  // the load ended its progress
}

}  // namespace
}  // namespace tomlet
