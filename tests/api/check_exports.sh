#!/usr/bin/env bash
# The shared library exports the plain C names of the host interface and the
# engine record, and nothing of the internal helpers.
set -u
lib=$1
syms=$(nm -D --defined-only "$lib" | awk '{print $3}')
status=0
for name in create destroy VXNSetLanguage VXNSetHybrid VXNModelSelect VXNInit VXNSetSamplingRate \
            VXNSetPrintLevel VXNSetChannel VXNSetMemory VXNSetStreamCallback VXNVoiceControl \
            VXNGetControlState VXNSetControlStart VXNSetControlStop VXNRefresh VXNFree \
            VXNStartStreamingPlayUtf8 VXNSetSpectralVariance tts_init tts_get_pcm_data tts_release \
            VXN_Engine_initialize VXN_Engine_clear VXN_Engine_refresh VXN_Upsampling \
            VXN_print VXN_error g_nStatePrint _Z17VXNGetSampingRatePv \
            VXNGetSamplingRate VXNGetChannel VXNStartStreamingPlayUtf16 VXNStartStreamingPlay \
            VXNShowLanguage VXNIsLanguageReady VXNSetLabelCallback VXNLanguageCode VXNLanguageName \
            VXNLanguageId VXNVoiceStem VXNGetVersion; do
  if ! grep -qx "$name" <<<"$syms"; then
    echo "missing export: $name"
    status=1
  fi
done
for name in VXN_calloc VXN_get_token VXN_Label_load_from_string_list VXN_ModelSet_initialize \
            VXNGetSampingRate; do
  if grep -qx "$name" <<<"$syms"; then
    echo "internal or mangled-only name exported in plain form: $name"
    status=1
  fi
done
exit $status
