#pragma once
#include "vst2/plugin_vst.h"

// Supplied by the effect: creates one instance for a host, or null when memory
// runs out. Called by the exported entry under the creation lock.
IPluginVST* CreatePluginInstance(audioMasterCallback host);
