#include "ui/dialogs/about_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tomlet {
namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    static AboutFacts Facts(std::uint32_t flags = 0) {
        return {"Windows XP  5.1 (Build 2600) Service Pack 3", MemoryStatus{523744ull * 1024, 57},
                FileVersion{0, 9, 0, 109, flags}};
    }

    static QString TextOf(const QWidget& window, const char* name) {
        const auto* label = window.findChild<QLabel*>(QLatin1String(name));
        return label != nullptr ? label->text() : QStringLiteral("<missing>");
    }

    static QStringList Description(const QWidget& window) {
        const auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("memo_Description"));
        return memo != nullptr ? memo->toPlainText().split(u'\n') : QStringList();
    }

private:
    QLocale m_savedLocale;
};

TEST_F(AboutWindowTest, ShowsTheGivenFacts) {
    Tfrm_About about(Facts());
    EXPECT_EQ(about.objectName(), QStringLiteral("frm_About"));
    EXPECT_EQ(TextOf(about, "label_NameProgs"), QStringLiteral("Tomlet"));
    EXPECT_EQ(TextOf(about, "label_Version"), QStringLiteral("ver. 0.9.0  build 109"));
    EXPECT_EQ(TextOf(about, "Os"), QStringLiteral("Windows XP  5.1 (Build 2600) Service Pack 3"));
    EXPECT_EQ(TextOf(about, "lbl_TotalMem_I"), QStringLiteral("523,744 KB"));
    EXPECT_EQ(TextOf(about, "lbl_MemoryUsed_I"), QStringLiteral("57 %"));
    EXPECT_EQ(TextOf(about, "label_TotalMemory"), QStringLiteral("Total memory:"));
    EXPECT_EQ(TextOf(about, "label_MemoryUsed"), QStringLiteral("Memory used:"));
    EXPECT_TRUE(TextOf(about, "label_Copyright").contains(QStringLiteral("Tomlet developers")));

    const QStringList description = Description(about);
    ASSERT_EQ(description.size(), 4);
    EXPECT_EQ(description[0], QStringLiteral("Beta-version"));
    EXPECT_EQ(description[1], QString());
}

TEST_F(AboutWindowTest, ADebugBuildSaysSo) {
    Tfrm_About about(Facts(vfDebug));
    const QStringList description = Description(about);
    ASSERT_EQ(description.size(), 5);
    EXPECT_EQ(description.last(), QStringLiteral("Debug version"));
}

TEST_F(AboutWindowTest, MissingFactsLeaveTheDashes) {
    Tfrm_About about(AboutFacts{"Windows ??", std::nullopt, std::nullopt});
    EXPECT_EQ(TextOf(about, "label_Version"), QStringLiteral("-"));
    EXPECT_EQ(TextOf(about, "lbl_TotalMem_I"), QStringLiteral("-"));
    EXPECT_EQ(TextOf(about, "lbl_MemoryUsed_I"), QStringLiteral("-"));
    EXPECT_EQ(Description(about).size(), 4);
}

TEST_F(AboutWindowTest, TheFiguresShareTheirRightEdge) {
    Tfrm_About about(Facts());
    about.show();
    const auto* total = about.findChild<QLabel*>(QStringLiteral("lbl_TotalMem_I"));
    const auto* used = about.findChild<QLabel*>(QStringLiteral("lbl_MemoryUsed_I"));
    ASSERT_NE(total, nullptr);
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(total->geometry().right(), used->geometry().right());
    EXPECT_GT(total->width(), used->width());

    auto* ok = about.findChild<QPushButton*>(QStringLiteral("button_Ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutWindowTest, TotalMemoryUsesTheLocalesSeparator) {
    EXPECT_EQ(TotalMemoryText(523744ull * 1024, QLocale(QLocale::English)),
              QStringLiteral("523,744 KB"));
    EXPECT_EQ(TotalMemoryText(523744ull * 1024, QLocale(QLocale::German)),
              QStringLiteral("523.744 KB"));
    EXPECT_EQ(TotalMemoryText(17179869184ull, QLocale(QLocale::English)),
              QStringLiteral("16,777,216 KB"));
}

TEST_F(AboutWindowTest, ThisProgramOnThisMachine) {
    Tfrm_About about;
    EXPECT_TRUE(TextOf(about, "label_Version").startsWith(QStringLiteral("ver. ")));
    EXPECT_TRUE(TextOf(about, "lbl_TotalMem_I").endsWith(QStringLiteral(" KB")));
    EXPECT_NE(TextOf(about, "Os"), QStringLiteral("-"));
}

}  // namespace
}  // namespace tomlet
