// Creation of the built-in European analyzer for the language host, which
// deletes it through its deleting destructor (slot 1). The caller owns the
// returned object. No state; safe from any thread.
#ifndef VXN_LANGANALEU_FACTORY_H
#define VXN_LANGANALEU_FACTORY_H

#include "lang/VXN_LangAnalEuBase.h"

CLangAnalEuBase* VXN_create_european_analyzer();

#endif
