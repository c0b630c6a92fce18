#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/text_codec.h"
#include "support/scoped_environment.h"

// GUI tests need a QApplication; without a display they run on the offscreen platform. Like the
// other tests they run in UTF-8 (support/test_main.cpp). The user's preferences go to a folder
// of their own, never to the user's.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tomlet::SetProcessCodePage(tomlet::TextCodec::Utf8);
    const QTemporaryDir preferences;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, preferences.path());
    const tomlet::testing::PrivateUserDataFolder userData;
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
