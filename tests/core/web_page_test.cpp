#include "core/web_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "core/catalogue.h"
#include "core/web_text.h"
#include "support/project_files.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"
#include "support/test_system.h"
#include "support/tree_records.h"
#include "support/web_page_data.h"

namespace tomlet {
namespace {

using testing::Record;
using testing::WebObject;
using testing::WithPath;

// A disc folder holding a project file; the page goes into the disc's folder unless told.
class WebPageTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCatalogue(); }
    void TearDown() override { ResetCatalogue(); }

    std::string Disc() const { return m_disc / ""; }

    void Save(const ObjectTree& tree, TProjectRec project = {}) {
        project.AbsolutePath = false;
        testing::SaveProject(m_disc / "default.tml", project, tree);
    }

    WebPageResult Export(const std::string& output, const std::function<bool()>& cancelled = {},
                         int codePage = TextCodec::Utf8) {
        WebPageRequest request;
        request.ProjectFile = m_disc / "default.tml";
        request.OutputFolder = output;
        request.DiscFolder = Disc();
        request.Codec = TextCodec(codePage);
        return WriteWebPage(request, m_progress, m_progress, cancelled);
    }

    testing::WebPageData ExportAndRead() {
        const WebPageResult result = Export(Disc());
        EXPECT_EQ(result.What, WebPageResult::Outcome::Written) << result.Error;
        return testing::ReadWebPage(Disc());
    }

    testing::TempFolder m_disc;
    testing::RecordingProgress m_progress;
};

// Folders open and close at every depth, one folder holds more children than a block, and the
// tree ends three levels down: the page gives back the same tree.
TEST_F(WebPageTest, PageHoldsTheTreeInBoundedBlocks) {
    ObjectTree tree;
    ObjectNode* a = tree.Append(nullptr, Record("A", otVirtualFolder));
    ObjectNode* b = tree.Append(a, Record("B", otVirtualFolder));
    tree.Append(b, Record("C"));
    tree.Append(a, Record("D", otVirtualFolder));  // a folder without children
    ObjectNode* many = tree.Append(nullptr, Record("Many", otVirtualFolder));
    std::string manyOutline;
    for (int i = 0; i < 1203; ++i) {
        tree.Append(many, Record("m" + std::to_string(i)));
        manyOutline += (i == 0 ? "" : " ") + ("m" + std::to_string(i));
    }
    ObjectNode* e = tree.Append(nullptr, Record("E", otVirtualFolder));
    tree.Append(tree.Append(e, Record("F", otVirtualFolder)), Record("G"));
    Save(tree);

    const testing::WebPageData page = ExportAndRead();
    EXPECT_EQ(testing::CaptionOutline(page.Top), "A (B (C) D) Many (" + manyOutline + ") E (F (G))");
    EXPECT_EQ(page.Root["objects"], 1211);
    EXPECT_LE(page.LargestBlock, 500u);
    EXPECT_LE(page.LargestDataFile, 400'000u);
    EXPECT_EQ(page.Top[1].Children.size(), 1203u);
    // Ids are the tree order, and the search data names each object's parent by its id.
    ASSERT_EQ(page.Parents.size(), 1211u);
    EXPECT_EQ(page.Top[2].Id, 1208);
    EXPECT_EQ(page.Parents[1208], -1);
    EXPECT_EQ(page.Parents[1210], 1209);
    EXPECT_EQ(page.Parents[7], page.Top[1].Id);
}

TEST_F(WebPageTest, ObjectsCarryTheirHintPicturesAndSearchText) {
    ObjectTree tree;
    TNodeData readme = WithPath("Read me", "readme.txt", otTextFile);
    readme.Hint = "first\x01steps";
    readme.Comments = "line one\r\nline two\r\n";
    readme.Parameters = "/s";
    tree.Append(nullptr, std::move(readme));
    tree.Append(nullptr, Record("Docs", otFolder, oaOpen, "Docs"));
    m_disc.WriteFile("readme.txt", std::string(17, 'x'));
    m_disc.MakeFolder("Docs");
    Save(tree);

    const testing::WebPageData page = ExportAndRead();
    const WebObject& object = page.Top[0];
    EXPECT_EQ(object.HintValues,
              (std::vector<std::string>{"first\x01steps", "line one\r\nline two\r\n", "readme.txt",
                                        "  17.000 byte", testing::NewFileAttributes, "/s"}));
    EXPECT_EQ(object.Picture, 9);
    EXPECT_EQ(page.Top[1].Picture, 0);
    EXPECT_EQ(page.Top[1].SelectedPicture, 1);
    EXPECT_EQ(page.SearchTexts[0], "Read me\x1F" "first steps\x1F" "line one  line two  ");
    EXPECT_EQ(page.Root["texts"]["labels"][0], "*  Hint: ");
}

struct LinkCase {
    const char* Name;
    const char* StoredPath;
    const char* Output;  // below the disc; "off" for a folder beside it
    const char* Link;
    int Reason;
};

TEST_F(WebPageTest, LinksLeadRelativelyToWhatLiesOnTheDiscAndReasonsTellWhyNot) {
    const ScopedProcessCodePage utf8(TextCodec::Utf8);  // names beyond the ANSI code page
    m_disc.WriteFile("Sub/a b.txt");
    m_disc.WriteFile("Отчёт.txt");
    if (!testing::OnWindows)  // no ':' in Windows names
        m_disc.WriteFile("javascript:alert(1)");
    const LinkCase cases[] = {
        {"file", "Sub\\a b.txt", "", "Sub/a%20b.txt", 0},
        {"folder", "Sub", "", "Sub/", 0},
        {"a name like a scheme", "javascript:alert(1)", "", "javascript%3Aalert%281%29", 0},
        {"Cyrillic", "Отчёт.txt", "", "%D0%9E%D1%82%D1%87%D1%91%D1%82.txt", 0},
        {"page in a folder of the disc", "Sub\\a b.txt", "web", "../Sub/a%20b.txt", 0},
        {"virtual folder", "", "", "", 1},
        {"climbing out", "..\\..\\etc\\passwd", "", "", 2},
        {"page beside the disc", "Sub\\a b.txt", "off", "", 3},
        {"missing", "gone.txt", "", "", 4},
    };
    for (const LinkCase& test : cases) {
        if (testing::OnWindows && std::string(test.Name) == "a name like a scheme")
            continue;
        ObjectTree tree;
        tree.Append(nullptr, WithPath("x", test.StoredPath));
        Save(tree);
        testing::TempFolder beside;
        const std::string output = std::string(test.Output) == "off" ? beside / ""
                                                                       : m_disc / test.Output;
        ASSERT_EQ(Export(output).What, WebPageResult::Outcome::Written) << test.Name;
        const WebObject object = testing::ReadWebPage(output).Top.at(0);
        EXPECT_EQ(object.Link, test.Link) << test.Name;
        EXPECT_EQ(object.Reason, test.Reason) << test.Name;
    }
}

TEST_F(WebPageTest, TextsAreConvertedFromTheProjectsCodePage) {
    const TextCodec cp1251(1251);
    ObjectTree tree;
    tree.Append(nullptr, Record(cp1251.FromUtf8("Отчёт за год")));
    TProjectRec project;
    project.ProjectName = cp1251.FromUtf8("Архив <script>alert(1)</script>");
    Save(tree, project);

    ASSERT_EQ(Export(Disc(), {}, 1251).What, WebPageResult::Outcome::Written);
    const testing::WebPageData page = testing::ReadWebPage(Disc());
    EXPECT_EQ(page.Top[0].Caption, "Отчёт за год");
    EXPECT_EQ(page.Root["names"][0], "Архив <script>alert(1)</script>");
    const std::string index = testing::ReadWholeFile(m_disc / "index.html");
    EXPECT_NE(index.find("<title>Архив &lt;script&gt;alert(1)&lt;/script&gt;</title>"),
              std::string::npos);
    EXPECT_EQ(index.find("<script>alert"), std::string::npos);
}

TEST_F(WebPageTest, PageTextsComeFromTheCatalogue) {
    Save(ObjectTree{});
    SetText(TextId::text_WebFind, "Найти:");
    SetText(TextId::message_WebMissing, "Нет файла");
    SetText(TextId::hint_Hint, "*  Подсказка: ");
    const testing::WebPageData page = ExportAndRead();
    EXPECT_EQ(page.Root["texts"]["find"], "Найти:");
    EXPECT_EQ(page.Root["texts"]["reasons"][3], "Нет файла");
    EXPECT_EQ(page.Root["texts"]["labels"][0], "*  Подсказка: ");
    EXPECT_NE(m_progress.Summary().find("Text " + Text(TextId::text_WritingWebPage_D)),
              std::string::npos);
}

TEST(WebText, NothingInATextEndsItsLiteral) {
    const std::string texts[] = {
        "</script><script>alert(1)</script>",
        "\"><img src=x onerror=alert(1)>",
        "back\\slash \"quoted\" 'single'",
        "line\r\nbreaks\x01\x1F\x7F and \xE2\x80\xA8 separators \xE2\x80\xA9",
    };
    for (const std::string& text : texts) {
        const std::string literal = web::JsString(text);
        EXPECT_EQ(literal.find_first_of("<>&\r\n\x01\x7F", 0), std::string::npos) << literal;
        EXPECT_EQ(literal.find("\xE2\x80\xA8"), std::string::npos);
        EXPECT_EQ(nlohmann::json::parse(literal), text);
    }
    EXPECT_EQ(nlohmann::json::parse(web::JsString("bad \xFF byte")), "bad \xEF\xBF\xBD byte");
}

// ----- replacing an earlier page -----

std::vector<std::string> PageFiles(const testing::TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
        names.push_back(entry.path().lexically_relative(folder.Path()).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(WebPageTest, AnExportReplacesOnlyWhatAnEarlierExportWrote) {
    ObjectTree big;
    ObjectNode* folder = big.Append(nullptr, Record("Folder", otVirtualFolder));
    for (int i = 0; i < 3000; ++i)
        big.Append(folder, Record(std::string(100, 'x') + std::to_string(i)));
    Save(big);
    ASSERT_EQ(Export(Disc()).What, WebPageResult::Outcome::Written);
    ASSERT_TRUE(std::filesystem::exists(m_disc.Path() / "tomlet-page/data/t1.js"));

    ObjectTree small;
    small.Append(nullptr, Record("Only"));
    Save(small);
    ASSERT_EQ(Export(Disc()).What, WebPageResult::Outcome::Written);
    EXPECT_EQ(testing::CaptionOutline(testing::ReadWebPage(Disc()).Top), "Only");
    EXPECT_FALSE(std::filesystem::exists(m_disc.Path() / "tomlet-page/data/t1.js"));
    const std::vector<std::string> files = PageFiles(m_disc);
    EXPECT_EQ(std::count_if(files.begin(), files.end(),
                            [](const std::string& name) { return name.starts_with(".tomlet"); }),
              0);
}

TEST_F(WebPageTest, WhatNoExportWroteIsNeverWrittenOver) {
    ObjectTree tree;
    tree.Append(nullptr, Record("A"));
    Save(tree);
    struct Case {
        const char* Name;
        const char* Relative;
    };
    for (const Case& test : {Case{"someone's index.html", "index.html"},
                             Case{"a file in the page's folder", "tomlet-page/notes.txt"}}) {
        testing::TempFolder output;
        ASSERT_EQ(Export(output / "").What, WebPageResult::Outcome::Written);
        output.WriteFile(test.Relative, "mine");
        const std::vector<std::string> before = PageFiles(output);

        const WebPageResult result = Export(output / "");
        EXPECT_EQ(result.What, WebPageResult::Outcome::Failed) << test.Name;
        EXPECT_NE(result.Error.find("was not written by Tomlet"), std::string::npos) << result.Error;
        EXPECT_EQ(PageFiles(output), before) << test.Name;
        EXPECT_EQ(testing::ReadWholeFile(output / test.Relative), "mine");
    }
}

TEST_F(WebPageTest, CancelOrADamagedProjectLeavesTheEarlierPage) {
    ObjectTree tree;
    for (int i = 0; i < 20; ++i)
        tree.Append(nullptr, Record("A" + std::to_string(i)));
    Save(tree);
    ASSERT_EQ(Export(Disc()).What, WebPageResult::Outcome::Written);
    const std::vector<std::string> before = PageFiles(m_disc);
    const std::string data = testing::ReadWholeFile(m_disc / "tomlet-page/data/t0.js");

    int asked = 0;
    EXPECT_EQ(Export(Disc(), [&] { return ++asked == 10; }).What,
              WebPageResult::Outcome::Cancelled);
    EXPECT_TRUE(m_progress.Closed());
    m_disc.WriteFile("default.tml", "not a project");
    const WebPageResult damaged = Export(Disc());
    EXPECT_EQ(damaged.What, WebPageResult::Outcome::Failed);
    EXPECT_EQ(damaged.Read.Status, ReadStatus::WrongSignature);

    EXPECT_EQ(PageFiles(m_disc), before);
    EXPECT_EQ(testing::ReadWholeFile(m_disc / "tomlet-page/data/t0.js"), data);
}

TEST_F(WebPageTest, WhatAKilledExportLeftBehindGoes) {
    Save(ObjectTree{});
    m_disc.WriteFile(".tomlet-page-new-killed1/files.txt", "Tomlet web page files\n");
    m_disc.WriteFile(".tomlet-page-new-killed1/data/t0.js", "half");
    m_disc.WriteFile(".tomlet-page-new-notours/keep.txt", "mine");
    ASSERT_EQ(Export(Disc()).What, WebPageResult::Outcome::Written);
    EXPECT_FALSE(std::filesystem::exists(m_disc.Path() / ".tomlet-page-new-killed1"));
    EXPECT_TRUE(std::filesystem::exists(m_disc.Path() / ".tomlet-page-new-notours/keep.txt"));
}

}  // namespace
}  // namespace tomlet
