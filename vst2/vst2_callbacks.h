#pragma once
#include "vst2/vst2_abi.h"

// The effect record's entries that the host calls. Each finds the instance
// through the record and holds the instance lock for its whole run.

// Any thread (the host's user-interface thread in practice).
VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                    VstIntPtr value, void* ptr, float opt);
// Audio thread. Adds into the outputs.
void VSTCALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
// Audio thread. Overwrites the outputs.
void VSTCALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                     VstInt32 frames);
void VSTCALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                           VstInt32 frames);
// Any thread.
void VSTCALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value);
float VSTCALLBACK VSTGetParameter(AEffect* effect, VstInt32 index);
