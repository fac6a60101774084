// Libraries loaded on first use, kept for the rest of the run: a COM object
// or a dialog may still run code from them after the function that first
// needed them has returned.
#include "shell/system_library.h"

namespace {

struct LoadedLibrary {
    const char* Name;   // one of the callers' literals
    HMODULE Module;
};

// The shell, COM, common dialogs and common controls: room for all of them.
LoadedLibrary Loaded[8];
int LoadedCount;

HMODULE LibraryModule(const char* name)
{
    for (int i = 0; i < LoadedCount; ++i)
        if (lstrcmpiA(Loaded[i].Name, name) == 0)
            return Loaded[i].Module;
    if (LoadedCount == sizeof Loaded / sizeof Loaded[0])
        return nullptr;
    // A missing library is asked for again next time: no entry for it.
    HMODULE module = LoadLibraryA(name);
    if (module)
        Loaded[LoadedCount++] = {name, module};
    return module;
}

}  // namespace

FARPROC SystemFunction(const char* library, const char* name)
{
    HMODULE module = LibraryModule(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

void FreeSystemLibraries()
{
    while (LoadedCount > 0)
        FreeLibrary(Loaded[--LoadedCount].Module);
}
