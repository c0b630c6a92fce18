#pragma once

#include <QString>

namespace tomlet {

// Qt's own translation of its standard buttons and dialogs (Yes, No, Cancel, the file dialog)
// for a language file's language, named as Tomlet names it ("Russian"): from Qt's translations
// folder (the system's on Linux), else the folder "translations" beside the program (the
// Windows kit's). English, a name Qt does not know as a language, or a missing translation leave
// Qt's own English. True when a translation is in use.
bool UseQtTranslation(const QString& language);

}  // namespace tomlet
