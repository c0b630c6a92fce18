#pragma once

namespace tomlet {

class MaskStore;
class ProgressSink;
class Prompts;
class Shell;

// The outside world as the main window reaches it: the user's prompts, the system shell, the
// stored scan masks and the progress display of long operations. The program passes the real
// implementations; tests pass recording fakes.
struct Seams {
    Prompts& UserPrompts;
    Shell& SystemShell;
    MaskStore& StoredMasks;
    ProgressSink& Progress;
};

}  // namespace tomlet
