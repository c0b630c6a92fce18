#include <ostream>

#include "cli/commands.h"
#include "core/catalogue.h"
#include "core/language_file.h"
#include "core/paths.h"
#include "core/web_page.h"
#include "platform/file_system.h"

namespace tomlet::cli {

int RunHtml(const Arguments& arguments, std::ostream& out, std::ostream&) {
    const auto folder = arguments.Option("-o");
    if (!folder)
        throw UsageError("-o DIR is needed");
    if (const auto language = arguments.Option("--language"); language && !ReadCatalogueFile(*language))
        throw CommandError(*language + ": cannot be read as a language file");

    WebPageRequest request;
    request.ProjectFile = arguments.Single();
    request.OutputFolder = *folder;
    // Where Tomlet lies on a disc: the folder of the project file.
    const std::string parent = ParentFolderPath(request.ProjectFile);
    request.DiscFolder = parent.empty() ? std::string(".") : parent;
    request.Codec = arguments.Codec();

    SilentProgress silent;
    const WebPageResult result = WriteWebPage(request, silent, silent);
    ThrowUnlessRead(request.ProjectFile, result.Read);
    if (result.What != WebPageResult::Outcome::Written)
        throw CommandError(Text(TextId::SaveFailure) + " " + result.Error);
    out << *folder << ": a web page of " << result.Objects << " objects\n";
    return ExitOk;
}

}  // namespace tomlet::cli
