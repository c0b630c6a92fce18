#pragma once

#include <functional>

#include "core/web_page.h"

class QWidget;

namespace tomlet {

class Prompts;
class Shell;

// File > "Export as web page...": the folder picker, proposing request.OutputFolder (the
// project's own folder, where the page's links reach the disc's files); the page written with
// the progress display, `cancelled` asked between objects; then the question whether to open it
// in the system's browser. A failure is shown as an error; a cancelled export says nothing.
void ExportWebPage(QWidget& owner, WebPageRequest request, Prompts& prompts, Shell& shell,
                   ProgressSink& progress, MessagePump& pump,
                   const std::function<bool()>& cancelled);

}  // namespace tomlet
