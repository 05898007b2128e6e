// Factory of the built-in European analyzer. The language host creates the
// analyzer through this function and deletes it through its deleting
// destructor (slot 1). The returned object belongs to the caller; null means
// no European analyzer is available in this build.
#ifndef VXN_LANGANALEU_FACTORY_H
#define VXN_LANGANALEU_FACTORY_H

class CLangAnalEuBase;

CLangAnalEuBase* VXN_create_european_analyzer();

#endif
