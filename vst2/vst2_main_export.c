/* Older hosts look for the entry under the name main. It is written in C, where
   a function of that name may take the host callback, and passes it on. */
#if defined(_WIN32)
#define GRITTBOX_EXPORT __declspec(dllexport)
#else
#define GRITTBOX_EXPORT __attribute__((visibility("default")))
#endif

struct AEffect;
typedef void* HostCallback; /* the host callback, passed through untouched */

struct AEffect* VSTPluginMain(HostCallback host);

GRITTBOX_EXPORT struct AEffect* main(HostCallback host) { return VSTPluginMain(host); }
