#include <gtest/gtest.h>

#include <QMimeDatabase>
#include <QString>
#include <string>

#include "core/object_tree.h"
#include "core/progress.h"
#include "core/project_file.h"
#include "support/temp_folder.h"

namespace tomlet {
namespace {

// The desktop's view of a file: Qt's MIME database with the project type installed by the build.
std::string MimeTypeOf(const std::string& path) {
    static const bool installed =
        qputenv("XDG_DATA_DIRS", TOMLET_DESKTOP_DATA_DIR ":/usr/local/share:/usr/share");
    EXPECT_TRUE(installed);
    return QMimeDatabase().mimeTypeForFile(QString::fromStdString(path)).name().toStdString();
}

TEST(ProjectMimeTypeTest, AProjectIsKnownByItsNameAndByItsSignature) {
    const testing::TempFolder folder;
    SilentProgress silent;
    const std::string project = folder / "catalogue";
    ASSERT_TRUE(WriteProjectFile(project, TProjectRec{}, ObjectTree{}, silent, silent).Saved);
    const std::string lookalike = folder.WriteFile("notes", std::string("\x06\x00Tomlex\x00", 9));

    EXPECT_EQ(MimeTypeOf(project), TOMLET_MIME_TYPE);
    EXPECT_EQ(MimeTypeOf(folder.WriteFile("Disc.TML", "any content")), TOMLET_MIME_TYPE);
    EXPECT_NE(MimeTypeOf(lookalike), TOMLET_MIME_TYPE);
}

}  // namespace
}  // namespace tomlet
