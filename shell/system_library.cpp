// Libraries loaded on first use, kept until teardown: a COM object or a
// dialog may still run code from them after the function that first needed
// them has returned.
#include "shell/system_library.h"

#include "shell/library_search.h"

namespace {

struct LoadedLibrary {
    const char* Name;   // one of the callers' literals
    HMODULE Module;
};

// A library that another loads by bare name only when first needed (a
// delayed import) and that no system keeps among its KnownDLLs. Windows 8
// and later look for it in the system folder once the search is restricted,
// but older systems, Vista and Wine (whatever the process asked for) look in
// the program's folder first. Loaded from the system folder before the
// library that needs it, it is found already loaded.
struct Prerequisite {
    const char* Library;
    const char* Needs;
};
constexpr Prerequisite Prerequisites[] = {
    {"COMDLG32.DLL", "MSIMG32.DLL"},    // the folder browser's drawing
};

// The shell, COM, common dialogs and common controls with what they need
// first, and the system libraries whose wide calls are looked up: room for
// all of them.
LoadedLibrary Loaded[12];
int LoadedCount;

HMODULE LibraryModule(const char* name)
{
    for (int i = 0; i < LoadedCount; ++i)
        if (lstrcmpiA(Loaded[i].Name, name) == 0)
            return Loaded[i].Module;
    for (const Prerequisite& first : Prerequisites)
        if (lstrcmpiA(first.Library, name) == 0)
            LibraryModule(first.Needs);
    if (LoadedCount == sizeof Loaded / sizeof Loaded[0])
        return nullptr;
    // A missing library is asked for again next time: no entry for it.
    HMODULE module = LoadSystemLibrary(name);
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
