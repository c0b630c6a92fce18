#pragma once

namespace tomlet {

// Whether Ctrl is held down at this moment, as the view switches ask.
bool IsCtrlHeld();

}  // namespace tomlet
