#pragma once

#include <functional>

#include "core/web_page.h"

class QWidget;

namespace tomlet {

class Prompts;
class Shell;

// File > "Export as web page...": the folder picker, proposing request.OutputFolder (the
// project's own folder, where the page's links reach the disc's files); the page written by
// `write` (WriteWebPage with the caller's progress display and Cancel); then the question whether
// to open it in the system's browser. A failure is shown as an error; a cancelled export says
// nothing.
using WebPageWriter = std::function<WebPageResult(const WebPageRequest&)>;
void ExportWebPage(QWidget& owner, WebPageRequest request, Prompts& prompts, Shell& shell,
                   const WebPageWriter& write);

}  // namespace tomlet
