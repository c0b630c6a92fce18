#include "ui/dialogs/find_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/search.h"
#include "platform/text_codec.h"
#include "support/control_letters.h"
#include "ui/base/access_letters.h"

namespace tomlet {
namespace {

class FindDialogTest : public ::testing::Test {
protected:
    template <class Widget = QWidget>
    Widget* Control(const char* name) {
        auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QCheckBox* Box(const char* name) { return Control<QCheckBox>(name); }
    // Clicks as the user does, on the box's square.
    void Click(const char* name) {
        QCheckBox* box = Box(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    void Show() {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    Qt::CheckState Everywhere() { return Box("checkbox_FindEveryWhere")->checkState(); }
    // The five field boxes as a string of 0/1 in the order Caption, Hint, Comments, Parameters,
    // Path.
    QString FieldBoxes() {
        QString state;
        for (const char* name :
             {"checkbox_FindCaption", "checkbox_FindHint", "checkbox_FindComments",
              "checkbox_FindParameters", "checkbox_FindPathFileName"})
            state += Box(name)->isChecked() ? u'1' : u'0';
        return state;
    }

    Tfrm_Find dialog;
};

TEST_F(FindDialogTest, HasItsControlsInTheirPlaces) {
    Show();
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frm_Find"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find"));
    const struct {
        const char* Name;
        const char* Caption;
    } captions[] = {{"checkbox_FindCaption", "Caption"},
                    {"checkbox_FindHint", "Hint"},
                    {"checkbox_FindComments", "Comments"},
                    {"checkbox_FindParameters", "Parameters"},
                    {"checkbox_FindPathFileName", "Path, filename"},
                    {"checkbox_FindEveryWhere", "Everywhere"},
                    {"checkbox_CaseSensitive", "Case sensitive"},
                    {"radiobutton_FromCurrentPosition", "From current position"},
                    {"radiobutton_FromBeginning", "From beginning"},
                    {"button_Ok", "Ok"},
                    {"button_Cancel", "Cancel"}};
    for (const auto& c : captions)
        EXPECT_EQ(WithoutAccessLetter(Control<QAbstractButton>(c.Name)->text()),
                  QLatin1String(c.Caption))
            << c.Name;
    EXPECT_EQ(WithoutAccessLetter(Control<QLabel>("label_Text")->text()), QStringLiteral("Text"));
    EXPECT_EQ(WithoutAccessLetter(Control<QGroupBox>("groupbox_Where")->title()),
              QStringLiteral("Where"));
    EXPECT_EQ(WithoutAccessLetter(Control<QGroupBox>("groupbox_Options")->title()),
              QStringLiteral("Options"));
    EXPECT_EQ(WithoutAccessLetter(Control<QGroupBox>("groupbox_Whence")->title()),
              QStringLiteral("Whence"));
    testing::ExpectControlLetters(dialog);
    EXPECT_TRUE(Control<QPushButton>("button_Ok")->isDefault());
    EXPECT_TRUE(Box("checkbox_FindEveryWhere")->isTristate());
    EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);

    // Positions in the dialog's own coordinates.
    const auto at = [&](const char* name) {
        QWidget* widget = Control(name);
        return QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
    };
    EXPECT_LT(at("edit_Text").bottom(), at("groupbox_Where").top());
    EXPECT_EQ(at("checkbox_FindCaption").left(), at("checkbox_FindComments").left());
    EXPECT_LT(at("checkbox_FindCaption").top(), at("checkbox_FindHint").top());
    EXPECT_LT(at("checkbox_FindHint").top(), at("checkbox_FindComments").top());
    EXPECT_LT(at("checkbox_FindCaption").right(), at("checkbox_FindParameters").left());
    EXPECT_EQ(at("checkbox_FindParameters").left(), at("checkbox_FindEveryWhere").left());
    EXPECT_LT(at("checkbox_FindPathFileName").top(), at("checkbox_FindEveryWhere").top());
    EXPECT_LT(at("groupbox_Where").bottom(), at("groupbox_Options").top());
    EXPECT_LT(at("groupbox_Options").right(), at("groupbox_Whence").left());
    EXPECT_LT(at("groupbox_Whence").bottom(), at("button_Ok").top());
    EXPECT_LT(at("button_Ok").right(), at("button_Cancel").left());
    EXPECT_GT(at("button_Ok").left(), at("groupbox_Whence").left());
    EXPECT_LT(dialog.width() - at("button_Cancel").right(), 20);
    // A fixed border: the dialog cannot be resized.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(FindDialogTest, ShowsTheStartingSettings) {
    dialog.LoadFindRec(TFindRec{});
    EXPECT_EQ(FieldBoxes(), QStringLiteral("10000"));
    EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);
    EXPECT_TRUE(Control<QRadioButton>("radiobutton_FromCurrentPosition")->isChecked());
    EXPECT_FALSE(Control<QRadioButton>("radiobutton_FromBeginning")->isChecked());
    EXPECT_FALSE(Box("checkbox_CaseSensitive")->isChecked());
    EXPECT_TRUE(Control<QLineEdit>("edit_Text")->text().isEmpty());
}

TEST_F(FindDialogTest, StoresWhatItLoadedAndRestartsTheSearch) {
    const int saved = ProcessCodec().CodePage();
    SetProcessCodePage(TextCodec::Utf8);
    TFindRec settings;
    settings.Text = " Установка ";
    settings.NextIndex = 12;
    settings.Fields = ffHint | ffComments | ffPathFileName;
    settings.CaseSensitive = true;
    settings.FromCurrent = false;
    dialog.LoadFindRec(settings);
    EXPECT_EQ(FieldBoxes(), QStringLiteral("01101"));
    EXPECT_EQ(Control<QLineEdit>("edit_Text")->text(), QStringLiteral(" Установка "));

    TFindRec stored;
    stored.NextIndex = 7;
    dialog.StoreFindRec(stored);
    settings.NextIndex = 0;
    EXPECT_EQ(stored, settings);

    for (std::uint8_t fields : {ffCaption, ffHint, ffPathFileName, ffParameters, ffComments}) {
        settings.Fields = fields;
        dialog.LoadFindRec(settings);
        dialog.StoreFindRec(stored);
        EXPECT_EQ(stored.Fields, fields);
    }
    SetProcessCodePage(saved);
}

TEST_F(FindDialogTest, EverywhereSummarisesTheFieldBoxes) {
    dialog.LoadFindRec(TFindRec{});
    Show();
    for (const char* name : {"checkbox_FindHint", "checkbox_FindComments",
                             "checkbox_FindParameters", "checkbox_FindPathFileName"}) {
        EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);
        Click(name);
    }
    EXPECT_EQ(FieldBoxes(), QStringLiteral("11111"));
    EXPECT_EQ(Everywhere(), Qt::Checked);
    for (const char* name : {"checkbox_FindCaption", "checkbox_FindHint", "checkbox_FindComments",
                             "checkbox_FindParameters"}) {
        Click(name);
        EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);
    }
    // Setting the summary to unchecked must not run the Everywhere box's own handler, which
    // would check Caption again.
    Click("checkbox_FindPathFileName");
    EXPECT_EQ(FieldBoxes(), QStringLiteral("00000"));
    EXPECT_EQ(Everywhere(), Qt::Unchecked);

    TFindRec all;
    all.Fields = AllFindFields;
    dialog.LoadFindRec(all);
    EXPECT_EQ(Everywhere(), Qt::Checked);
}

TEST_F(FindDialogTest, ClickingEverywhereSwitchesBetweenAllFieldsAndCaption) {
    dialog.LoadFindRec(TFindRec{});
    Show();
    Click("checkbox_FindEveryWhere");  // grayed → checked
    EXPECT_EQ(FieldBoxes(), QStringLiteral("11111"));
    EXPECT_EQ(Everywhere(), Qt::Checked);
    Click("checkbox_FindEveryWhere");  // checked → unchecked: Caption alone
    EXPECT_EQ(FieldBoxes(), QStringLiteral("10000"));
    EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);

    TFindRec none;
    none.Fields = 0;
    dialog.LoadFindRec(none);
    EXPECT_EQ(Everywhere(), Qt::Unchecked);
    Click("checkbox_FindEveryWhere");  // unchecked → grayed: Caption alone
    EXPECT_EQ(FieldBoxes(), QStringLiteral("10000"));
    EXPECT_EQ(Everywhere(), Qt::PartiallyChecked);
}

TEST_F(FindDialogTest, EnterConfirmsAndEscapeCancels) {
    Show();
    Control("edit_Text")->setFocus();
    QTest::keyClick(Control("edit_Text"), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.show();
    QTest::keyClick(Control("edit_Text"), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FindDialogPlacement, CentresOnTheMainWindow) {
    QWidget main;
    main.setGeometry(40, 60, 900, 600);
    main.show();
    Tfrm_Find dialog(&main);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint offset = dialog.frameGeometry().center() - main.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    EXPECT_NE(dialog.frameGeometry().topLeft(), QPoint(0, 0));
}

}  // namespace
}  // namespace tomlet
