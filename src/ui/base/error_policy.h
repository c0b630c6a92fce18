#pragma once

#include <functional>

namespace tomlet {

// What becomes of an error that escapes a command: its text in an error box (the general error
// display), or nothing at all where the program's rules say nothing is reported.
enum class OnError { Show, Ignore };

// Runs `work`; an error that escapes it ends it without a word. False when one did.
bool RunIgnoringErrors(const std::function<void()>& work);

}  // namespace tomlet
