// Creation of the built-in European analyzer for the language host.
// The caller owns the returned object (deleted through its virtual destructor).
#ifndef VXN_LANGANALEU_FACTORY_H
#define VXN_LANGANALEU_FACTORY_H

#include "lang/VXN_LangAnalEuBase.h"

CLangAnalEuBase* VXN_create_european_analyzer();

#endif
