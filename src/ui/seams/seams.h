#pragma once

namespace tomlet {

class Prompts;
class Shell;
class MaskStore;

// The outside world as the main window reaches it: the user's prompts, the system shell and the
// stored scan masks. The program passes the real implementations; tests pass recording fakes.
struct Seams {
    Prompts* UserPrompts = nullptr;
    Shell* SystemShell = nullptr;
    MaskStore* StoredMasks = nullptr;
};

}  // namespace tomlet
