// Fallback for builds without the European analyzer: the weak definition makes
// the host report "no analyzer" for European languages. The analyzer's own
// unit provides the strong definition, which takes precedence when linked.
#include "lang/VXN_LangAnalEu_factory.h"

__attribute__((weak)) CLangAnalEuBase* VXN_create_european_analyzer() { return nullptr; }
