// Hybrid unit selection: the process-wide unit-selection context. Only its
// hybrid flag exists so far; the prosody database and the unit search are not
// built yet, so the flag stays 0 and every sentence uses the model's log F0.
#ifndef VXN_VSEARCH_H
#define VXN_VSEARCH_H

#ifdef __cplusplus
extern "C" {
#endif

// 1 when hybrid synthesis is active for the process.
int VXN_VT_is_hybrid(void);
// Cleared by engine initialisation.
void VXN_VT_reset_hybrid(void);

#ifdef __cplusplus
}
#endif

#endif
