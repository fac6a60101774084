// Stand-in for the engine's keyboard hook library: a real DLL with the hook
// pair the engine calls. The hook only forwards each key to the window that
// installed it, so an installed copy loads and works harmlessly.
#include <windows.h>

namespace {

HINSTANCE HookModule;
HHOOK KeyboardHook;
HWND NotifyWindow;

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && NotifyWindow)
        PostMessageA(NotifyWindow, WM_APP, wParam, lParam);
    return CallNextHookEx(KeyboardHook, code, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) int KbHookInstall(HWND notify)
{
    if (KeyboardHook)
        return 1;
    NotifyWindow = notify;
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, HookModule, 0);
    return KeyboardHook ? 1 : 0;
}

extern "C" __declspec(dllexport) int KbHookRemove()
{
    if (!KeyboardHook)
        return 0;
    int ok = UnhookWindowsHookEx(KeyboardHook) ? 1 : 0;
    KeyboardHook = nullptr;
    NotifyWindow = nullptr;
    return ok;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        HookModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
