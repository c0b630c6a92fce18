#include "ui/export/web_page_export.h"

#include <filesystem>

#include "core/catalogue.h"
#include "core/web_page_folder.h"
#include "ui/base/qt_text.h"
#include "ui/seams/prompts.h"
#include "ui/seams/shell.h"

namespace tomlet {

void ExportWebPage(QWidget& owner, WebPageRequest request, Prompts& prompts, Shell& shell,
                   const WebPageWriter& write) {
    FolderPickerRequest picker;
    picker.Title = ToQString(Text(TextId::text_WebPageFolder));
    picker.InitialSelection = ToQString(request.OutputFolder);
    const QString folder = prompts.PickFolder(&owner, picker);
    if (folder.isEmpty())
        return;
    request.OutputFolder = FromQString(folder);

    const WebPageResult result = write(request);
    switch (result.What) {
        case WebPageResult::Outcome::Cancelled:
            return;
        case WebPageResult::Outcome::Failed:
            prompts.ShowMessage(&owner, MessageKind::Error,
                                ToQString(result.Read.Ok()
                                              ? Text(TextId::SaveFailure) + "\r\n" + result.Error
                                              : ReadFailureText(result.Read)));
            return;
        case WebPageResult::Outcome::Written:
            break;
    }
    std::string index = request.OutputFolder;
    if (!index.ends_with(static_cast<char>(std::filesystem::path::preferred_separator)))
        index += static_cast<char>(std::filesystem::path::preferred_separator);
    index += WebPageIndexName;
    if (prompts.Confirm(&owner, ToQString(FormatString(Text(TextId::message_WebPageWritten_S),
                                                       index))))
        shell.OpenPath(ToQString(index));
}

}  // namespace tomlet
