#pragma once

// The loaded plug-in library's own module: the Windows instance handle stored by
// the library-load hook, or the library's base address elsewhere. The editor
// finds its image resources through it.
void* PluginModuleHandle();
