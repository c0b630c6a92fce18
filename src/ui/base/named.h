#pragma once

#include <QLatin1String>

namespace tomlet {

// Gives a new object its name, which language files and tests address it by, and hands it back.
template <class Object>
Object* Named(Object* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

}  // namespace tomlet
