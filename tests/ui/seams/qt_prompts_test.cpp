#include "ui/seams/qt_prompts.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "support/modal_answers.h"

namespace tomlet {
namespace {

using testing::ModalAnswers;

TEST(FileFilterTest, ConvertsPairsToQtsForm) {
    EXPECT_EQ(ToQtFileFilter(QStringLiteral("Tomlet files (*.tml)|*.tml|Any files|*.*")),
              QStringLiteral("Tomlet files (*.tml);;Any files (*)"));
    EXPECT_EQ(ToQtFileFilter(QStringLiteral("Pictures (*.jpg;*.bmp)|*.jpg;*.bmp")),
              QStringLiteral("Pictures (*.jpg *.bmp)"));
    // Brackets that do not hold the patterns must not be read as patterns.
    EXPECT_EQ(ToQtFileFilter(QStringLiteral("Pictures (JPEG, BMP)|*.jpg; *.jpeg")),
              QStringLiteral("Pictures (JPEG, BMP) (*.jpg *.jpeg)"));
}

TEST(FileFilterTest, ToleratesIncompleteFilters) {
    EXPECT_EQ(ToQtFileFilter(QString()), QString());
    EXPECT_EQ(ToQtFileFilter(QStringLiteral("Texts|*.txt|")), QStringLiteral("Texts (*.txt)"));
    EXPECT_EQ(ToQtFileFilter(QStringLiteral("Everything")), QStringLiteral("Everything (*)"));
}

struct SeenBox {
    QString Title;
    QString Text;
    QStringList Buttons;
};

// Records the box and presses the button with the given caption.
std::function<void(QWidget&)> Press(SeenBox& seen, QString caption) {
    return [&seen, caption](QWidget& window) {
        auto& box = dynamic_cast<QMessageBox&>(window);
        seen = {box.windowTitle(), box.text(), {}};
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box.buttons()) {
            seen.Buttons.append(button->text());
            if (button->text() == caption)
                chosen = button;
        }
        if (chosen != nullptr)
            chosen->click();
        else
            box.reject();
    };
}

TEST(QtPromptsTest, MessagesHaveTheStandardTitleAndAnOkButton) {
    QtPrompts prompts;
    SeenBox seen;
    ModalAnswers answers({Press(seen, QStringLiteral("OK"))});
    prompts.ShowMessage(nullptr, MessageKind::Error, QStringLiteral("Line one\r\nLine two"));
    EXPECT_EQ(seen.Title, QStringLiteral("Error"));
    EXPECT_EQ(seen.Text, QStringLiteral("Line one\nLine two"));
    EXPECT_EQ(seen.Buttons, QStringList{QStringLiteral("OK")});

    ModalAnswers more({Press(seen, QStringLiteral("OK"))});
    prompts.ShowMessage(nullptr, MessageKind::Warning, QStringLiteral("Careful"));
    EXPECT_EQ(seen.Title, QStringLiteral("Warning"));
}

// The splash stays on top of every window: a box at start-up must not open hidden under it.
TEST(QtPromptsTest, ABoxNeverOpensUnderTheSplash) {
    QtPrompts prompts;
    QWidget splash(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    const std::vector<std::function<void()>> boxes = {
        [&] { prompts.ShowMessage(nullptr, MessageKind::Error, QStringLiteral("Damaged")); },
        [&] { prompts.Confirm(nullptr, QStringLiteral("Go on?")); },
        [&] { prompts.AskYesNoCancel(nullptr, QStringLiteral("Save?")); },
    };
    for (const auto& box : boxes) {
        splash.show();
        bool splashShown = true;
        ModalAnswers answers({[&](QWidget& shown) {
            splashShown = splash.isVisible();
            shown.close();
        }});
        box();
        EXPECT_FALSE(splashShown);
    }
}

TEST(QtPromptsTest, ConfirmIsTrueOnlyOnYes) {
    QtPrompts prompts;
    SeenBox seen;
    {
        ModalAnswers answers({Press(seen, QStringLiteral("&Yes"))});
        EXPECT_TRUE(prompts.Confirm(nullptr, QStringLiteral("Delete?")));
    }
    EXPECT_EQ(seen.Title, QStringLiteral("Confirm"));
    EXPECT_EQ(seen.Buttons.size(), 2);
    EXPECT_TRUE(seen.Buttons.contains(QStringLiteral("&No")));
    {
        ModalAnswers answers({Press(seen, QStringLiteral("&No"))});
        EXPECT_FALSE(prompts.Confirm(nullptr, QStringLiteral("Delete?")));
    }
    {
        ModalAnswers answers({[](QWidget& box) { box.close(); }});
        EXPECT_FALSE(prompts.Confirm(nullptr, QStringLiteral("Delete?")));
    }
}

// A risky step is a warning, and Enter alone does not take it.
TEST(QtPromptsTest, ConfirmDefaultNoWarnsAndTakesEnterAsNo) {
    QtPrompts prompts;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    ModalAnswers answers({[&](QWidget& window) {
        auto& box = dynamic_cast<QMessageBox&>(window);
        icon = box.icon();
        title = box.windowTitle();
        QTest::keyClick(&box, Qt::Key_Return);
    }});
    EXPECT_FALSE(prompts.ConfirmDefaultNo(nullptr, QStringLiteral("Run it?")));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title, QStringLiteral("Warning"));
}

TEST(QtPromptsTest, AskYesNoCancelTakesEscapeAndClosingAsCancel) {
    QtPrompts prompts;
    SeenBox seen;
    const std::vector<std::pair<std::function<void(QWidget&)>, Answer>> cases = {
        {Press(seen, QStringLiteral("&Yes")), Answer::Yes},
        {Press(seen, QStringLiteral("&No")), Answer::No},
        {Press(seen, QStringLiteral("Cancel")), Answer::Cancel},
        {[](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); }, Answer::Cancel},
        {[](QWidget& box) { box.close(); }, Answer::Cancel},
    };
    for (const auto& [answer, expected] : cases) {
        ModalAnswers answers({answer});
        EXPECT_EQ(prompts.AskYesNoCancel(nullptr, QStringLiteral("Save?")), expected);
    }
    EXPECT_EQ(seen.Title, QStringLiteral("Confirm"));
    EXPECT_EQ(seen.Text, QStringLiteral("Save?"));
    EXPECT_EQ(seen.Buttons.size(), 3);
}

}  // namespace
}  // namespace tomlet
