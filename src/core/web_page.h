#pragma once

#include <functional>
#include <string>

#include "core/progress.h"
#include "core/project_file.h"
#include "platform/text_codec.h"

namespace tomlet {

// What a web page export is asked to do. Paths are in the process code page.
struct WebPageRequest {
    std::string ProjectFile;
    // Where index.html and the folder tomlet-page go; the disc's folder by default, where the
    // page can open the disc's files by links relative to it.
    std::string OutputFolder;
    // Where the project's relative paths lead (and a relative data directory lies): the folder
    // of the disc the project describes.
    std::string DiscFolder;
    // The code page of the project's texts.
    TextCodec Codec = TextCodec(SystemCodePage());
};

struct WebPageResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome What = Outcome::Failed;
    ReadResult Read;    // why the project could not be read, when that is why it failed
    std::string Error;  // otherwise why nothing was written, in the process code page
    int Objects = 0;    // the objects the page shows
};

// Writes the project as a web page that any browser shows from the folder, without a server:
// index.html, its script and style sheet, the object pictures and the catalogue's data as script
// files. The project is read as it is written, so memory does not grow with its objects, and no
// data file grows with them either: each folder's children come in blocks of bounded size.
// Texts are converted from the request's code page (catalogue texts from the process code page)
// to UTF-8 and reach the page as data only.
//
// Progress goes to `progress` as a project read does; `cancelled` is asked between objects. An
// export that fails or is cancelled leaves the output folder as it was; one that succeeds
// replaces only what an earlier export wrote (core/web_page_folder.h).
WebPageResult WriteWebPage(const WebPageRequest& request, ProgressSink& progress,
                           MessagePump& pump, const std::function<bool()>& cancelled = {});

}  // namespace tomlet
