#include "ui/main_window/web_page_command.h"

#include "core/paths.h"
#include "core/web_page.h"
#include "ui/export/web_page_export.h"
#include "ui/main_window/busy_state.h"
#include "ui/main_window/project_session.h"

namespace tomlet {

WebPageCommand::WebPageCommand(QWidget& window, ProjectSession& session, BusyState& busy,
                               const Seams& seams, MessagePump& pump, std::string discFolder)
    : m_window(window),
      m_session(session),
      m_busy(busy),
      m_seams(seams),
      m_pump(pump),
      m_discFolder(std::move(discFolder)) {
    m_progress.SetCancellable(true);
}

void WebPageCommand::a_files_item_ExportWebPageExecute() {
    // The page is written from the project's file. Changes not yet saved are asked about as
    // before the project is replaced; No writes the file as it was saved and keeps the changes
    // in the window.
    if (!m_session.MayReplaceProject())
        return;
    WebPageRequest request;
    request.ProjectFile = m_session.CurrentFileName();
    request.OutputFolder = ParentFolderPath(request.ProjectFile);
    // Where the browser view leads the objects' relative paths.
    request.DiscFolder = m_discFolder;
    request.Codec = ProcessCodec();
    ExportWebPage(m_window, std::move(request), m_seams.UserPrompts, m_seams.SystemShell,
                  [this](const WebPageRequest& chosen) { return Write(chosen); });
}

// While the page is written, the project file is read as it goes: nothing may save over it, and
// the window may not close.
WebPageResult WebPageCommand::Write(const WebPageRequest& request) {
    const BusyState::Scope busy(m_busy);
    return WriteWebPage(request, m_progress, m_pump,
                        [this] { return m_progress.CancelRequested(); });
}

}  // namespace tomlet
