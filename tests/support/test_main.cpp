#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "support/scoped_environment.h"

int main(int argc, char** argv) {
    // The tests write texts and file names in UTF-8, so they run in UTF-8 on every system (on
    // Windows as with _CodePage=65001); tests of other code pages set theirs for their scope.
    tomlet::SetProcessCodePage(tomlet::TextCodec::Utf8);
    const tomlet::testing::PrivateUserDataFolder userData;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
