#include "platform/console_output.h"

namespace tomlet {

// A terminal here takes UTF-8 bytes as they are.
void UseUnicodeConsole() {}

}  // namespace tomlet
