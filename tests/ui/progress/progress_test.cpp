#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "ui/progress/gauge.h"
#include "ui/progress/progress_sink.h"
#include "ui/progress/progress_window.h"
#include "ui/progress/splash_window.h"

namespace tomlet {
namespace {

TEST(GaugeTest, KeepsTheValueBetweenZeroAndTheMaximum) {
    Gauge gauge;
    EXPECT_EQ(gauge.Maximum(), 0);
    EXPECT_EQ(gauge.Percent(), 0);  // 0 of 0

    gauge.SetMaximum(10);
    gauge.SetValue(25);
    EXPECT_EQ(gauge.Value(), 10);
    EXPECT_EQ(gauge.Percent(), 100);
    gauge.SetValue(-3);
    EXPECT_EQ(gauge.Value(), 0);

    gauge.SetValue(8);
    gauge.SetMaximum(5);
    EXPECT_EQ(gauge.Value(), 5);
}

TEST(GaugeTest, RefusesANegativeMaximumAndKeepsItsState) {
    Gauge gauge;
    gauge.SetMaximum(4);
    gauge.SetValue(2);
    EXPECT_THROW(gauge.SetMaximum(-1), std::invalid_argument);
    EXPECT_EQ(gauge.Maximum(), 4);
    EXPECT_EQ(gauge.Value(), 2);
}

TEST(GaugeTest, PercentIsTheWholePartWithoutOverflow) {
    Gauge gauge;
    gauge.SetMaximum(3);
    gauge.SetValue(2);
    EXPECT_EQ(gauge.Percent(), 66);
    gauge.SetMaximum(2'000'000'000);
    gauge.SetValue(1'999'999'999);
    EXPECT_EQ(gauge.Percent(), 99);
}

TEST(GaugeTest, PaintsTheFigureInsideTheBar) {
    Gauge gauge;
    gauge.resize(200, 16);
    gauge.SetMaximum(4);
    gauge.SetValue(1);
    const QImage image = gauge.grab().toImage();
    // The left quarter is the bar, the right end the background.
    EXPECT_EQ(image.pixelColor(5, 2), QColor(Qt::darkBlue));
    EXPECT_EQ(image.pixelColor(195, 2), gauge.BackColor());
}

std::vector<Tfrm_Progress*> ProgressWindows() {
    std::vector<Tfrm_Progress*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Tfrm_Progress*>(widget))
            windows.push_back(window);
    }
    return windows;
}

Tfrm_Progress& OnlyProgressWindow() {
    const auto windows = ProgressWindows();
    if (windows.size() != 1)
        throw std::logic_error("expected exactly one progress window");
    return *windows.front();
}

class ProgressSinkTest : public ::testing::Test {
protected:
    WindowProgressSink Sink;
};

TEST_F(ProgressSinkTest, FailsWithoutAWindowButEndIsHarmless) {
    EXPECT_FALSE(Sink.SetMaximum(3));
    EXPECT_FALSE(Sink.Step());
    EXPECT_FALSE(Sink.IncreaseMaximum());
    EXPECT_FALSE(Sink.SetText("%d"));
    EXPECT_FALSE(Sink.End());
    EXPECT_TRUE(ProgressWindows().empty());
}

TEST_F(ProgressSinkTest, BeginShowsAFreshWindowAndEndDestroysIt) {
    ASSERT_TRUE(Sink.Begin());
    Tfrm_Progress& window = OnlyProgressWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.objectName(), QStringLiteral("frm_Progress"));
    EXPECT_EQ(window.size(), QSize(347, 44));
    EXPECT_EQ(window.statusLabel()->text(), QStringLiteral("-"));
    EXPECT_EQ(window.gauge()->Maximum(), 0);
    EXPECT_TRUE(window.StatusFormat().empty());

    EXPECT_TRUE(Sink.End());
    EXPECT_TRUE(ProgressWindows().empty());
    EXPECT_FALSE(Sink.Step());
}

// An export asks between objects whether Cancel was pressed in its window; the next operation
// starts afresh, and one that may not stop shows no button.
TEST_F(ProgressSinkTest, CancelIsOfferedOnlyWhereAnOperationMayStop) {
    Sink.SetCancellable(true);
    Sink.Begin();
    QPushButton* cancel = OnlyProgressWindow().cancelButton();
    ASSERT_TRUE(cancel->isVisible());
    EXPECT_FALSE(Sink.CancelRequested());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(Sink.CancelRequested());
    Sink.End();

    Sink.SetCancellable(false);
    Sink.Begin();
    EXPECT_FALSE(Sink.CancelRequested());
    EXPECT_FALSE(OnlyProgressWindow().cancelButton()->isVisible());
    EXPECT_EQ(OnlyProgressWindow().size(), QSize(347, 44));
}

TEST_F(ProgressSinkTest, ASecondBeginStartsAgainAtZeroOfZero) {
    Sink.Begin();
    Sink.SetMaximum(5);
    Sink.Step();
    Sink.SetText("Saving %d");
    ASSERT_TRUE(Sink.Begin());
    Tfrm_Progress& window = OnlyProgressWindow();
    EXPECT_EQ(window.gauge()->Maximum(), 0);
    EXPECT_EQ(window.gauge()->Value(), 0);
    EXPECT_TRUE(window.StatusFormat().empty());
}

TEST_F(ProgressSinkTest, SteppingPastTheMaximumStaysFull) {
    Sink.Begin();
    EXPECT_TRUE(Sink.SetMaximum(0));
    EXPECT_EQ(OnlyProgressWindow().gauge()->Percent(), 0);
    Sink.SetMaximum(2);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Sink.Step());
    EXPECT_EQ(OnlyProgressWindow().gauge()->Percent(), 100);
    EXPECT_EQ(OnlyProgressWindow().Count(), 2);
    EXPECT_FALSE(Sink.SetMaximum(-1));
    EXPECT_EQ(OnlyProgressWindow().gauge()->Maximum(), 2);
}

TEST_F(ProgressSinkTest, IncreaseMaximumCountsTheItemsFound) {
    Sink.Begin();
    Sink.IncreaseMaximum();
    Sink.IncreaseMaximum();
    Sink.IncreaseMaximum();
    EXPECT_EQ(OnlyProgressWindow().gauge()->Maximum(), 3);
    EXPECT_EQ(OnlyProgressWindow().Count(), 3);
    Sink.Step();
    EXPECT_EQ(OnlyProgressWindow().Count(), 1);
}

TEST_F(ProgressSinkTest, TheTimerWritesTheCountIntoTheStatusLine) {
    Sink.Begin();
    QLabel& status = *OnlyProgressWindow().statusLabel();
    // Before any text is set, the first tick clears the initial "-".
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.text().isEmpty(); }, 2000));

    Sink.SetText("Reading %d records, 100%");
    Sink.SetMaximum(10);
    Sink.Step();
    Sink.Step();
    Sink.Step();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status.text() == QStringLiteral("Reading 3 records, 100%"); }, 2000))
        << status.text().toStdString();
}

TEST_F(ProgressSinkTest, TheSplashGaugeServesWhileASplashIsRegistered) {
    Tfrm_Splash splash;
    splash.gauge()->SetMaximum(10);
    splash.gauge()->SetValue(4);
    Sink.SetSplash(&splash);

    ASSERT_TRUE(Sink.Begin());
    EXPECT_TRUE(ProgressWindows().empty());
    EXPECT_EQ(splash.gauge()->Value(), 4);  // continues where it stands
    EXPECT_TRUE(Sink.SetText("Loading %d"));
    EXPECT_TRUE(Sink.Step());
    EXPECT_TRUE(Sink.IncreaseMaximum());
    EXPECT_EQ(splash.gauge()->Value(), 5);
    EXPECT_EQ(splash.gauge()->Maximum(), 11);
    EXPECT_TRUE(Sink.End());
    EXPECT_EQ(splash.gauge()->Value(), 5);

    Sink.SetSplash(nullptr);
    Sink.Begin();
    EXPECT_EQ(ProgressWindows().size(), 1u);
}

TEST_F(ProgressSinkTest, ASplashDestroyedWhileInUseFailsQuietly) {
    auto splash = std::make_unique<Tfrm_Splash>();
    Sink.SetSplash(splash.get());
    Sink.Begin();
    splash.reset();
    EXPECT_FALSE(Sink.Step());
    EXPECT_TRUE(Sink.Begin());
    EXPECT_EQ(ProgressWindows().size(), 1u);
}

}  // namespace
}  // namespace tomlet
