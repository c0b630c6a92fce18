#pragma once

#include "core/progress.h"

namespace tomlet {

class Tfrm_Splash;

// The program's one progress sink: the splash's gauge while a splash is registered, otherwise a
// fresh progress window per Begin/End. Every operation returns false instead of throwing.
//
// A Begin while a progress window from an earlier Begin still exists replaces that window with a
// fresh one, so every operation starts at 0 of 0 with an empty status line. Operations other than
// Begin fail with false while neither the splash nor a progress window is in use.
ProgressSink& ProgramProgress();

// The start-up registers its splash window here and clears it (nullptr) before destroying it.
void SetSplashWindow(Tfrm_Splash* splash);

}  // namespace tomlet
