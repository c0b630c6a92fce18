#pragma once

#include <optional>

namespace tomlet {

// Whether Ctrl is held down at this moment (the view switches and drops ask). Tests set the answer.
bool IsCtrlHeld();
void SetCtrlHeldForTesting(std::optional<bool> held);

}  // namespace tomlet
