#pragma once

#include <string>

#include "ui/progress/progress_sink.h"
#include "ui/seams/seams.h"

class QWidget;

namespace tomlet {

class BusyState;
class MessagePump;
class ProjectSession;
struct WebPageRequest;
struct WebPageResult;

// File > "Export as web page...", in both views: the open project's file written as a web page
// (ui/export/web_page_export.h) into a folder the user picks, proposed in the project's own
// folder. The window is busy while the page is written, and the progress window offers Cancel.
class WebPageCommand final {
public:
    WebPageCommand(QWidget& window, ProjectSession& session, BusyState& busy, const Seams& seams,
                   MessagePump& pump, std::string discFolder);
    WebPageCommand(const WebPageCommand&) = delete;
    WebPageCommand& operator=(const WebPageCommand&) = delete;

    void a_files_item_ExportWebPageExecute();

private:
    WebPageResult Write(const WebPageRequest& request);

    QWidget& m_window;
    ProjectSession& m_session;
    BusyState& m_busy;
    Seams m_seams;
    MessagePump& m_pump;
    std::string m_discFolder;
    // The export's own progress display, with Cancel, apart from that of loads and saves.
    WindowProgressSink m_progress;
};

}  // namespace tomlet
