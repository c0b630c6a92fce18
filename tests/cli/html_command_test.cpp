#include <gtest/gtest.h>

#include <string>

#include "cli_run.h"
#include "core/catalogue.h"
#include "support/project_files.h"
#include "support/temp_folder.h"
#include "support/tree_records.h"
#include "support/web_page_data.h"

namespace tomlet::cli {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;

class HtmlCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ObjectTree tree;
        tree.Append(nullptr, testing::WithPath("Read me", "readme.txt", otTextFile));
        TProjectRec project;
        project.AbsolutePath = false;
        testing::SaveProject(disc / "disc.tml", project, tree);
        disc.WriteFile("readme.txt", "hello");
    }
    void TearDown() override { ResetCatalogue(); }

    TempFolder disc;
};

TEST_F(HtmlCommandTest, WritesThePageInTheLanguageItIsGiven) {
    const std::string language =
        disc.WriteFile("Deutsch.lng", "\xEF\xBB\xBF[Text]\r\ntext_WebFind=Suchen:\r\n");
    const CliRun run =
        Cli({"html", disc / "disc.tml", "-o", disc / "", "--language", language});
    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, disc / "" + ": a web page of 1 objects\n");
    const testing::WebPageData page = testing::ReadWebPage(disc / "");
    EXPECT_EQ(page.Root["texts"]["find"], "Suchen:");
    EXPECT_EQ(page.Top.at(0).Link, "readme.txt");
    // The language file is only read.
    EXPECT_EQ(ReadWholeFile(language), "\xEF\xBB\xBF[Text]\r\ntext_WebFind=Suchen:\r\n");
}

TEST_F(HtmlCommandTest, SaysWhatIsWrong) {
    disc.WriteFile("broken.tml", "not a project");
    struct Case {
        std::vector<std::string> Arguments;
        int Code;
        std::string Err;
    };
    const Case cases[] = {
        {{"html", disc / "disc.tml"}, 2, "-o DIR is needed"},
        {{"html", disc / "disc.tml", "-o", disc / "out", "--language", disc / "none.lng"}, 1,
         "cannot be read as a language file"},
        {{"html", disc / "broken.tml", "-o", disc / "out"}, 1,
         Text(TextId::message_IncorrectFormatFile)},
    };
    for (const Case& test : cases) {
        const CliRun run = Cli(test.Arguments);
        EXPECT_EQ(run.Code, test.Code) << run.Err;
        EXPECT_NE(run.Err.find(test.Err), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(disc.Path() / "out"));
}

}  // namespace
}  // namespace tomlet::cli
