// The showcase program: every owner-drawn control in its states, then, on
// request, each kind of message. Run it under Wine to look at the painter:
//   render_showcase.exe            the controls, until the window is closed
//   render_showcase.exe messages   the three kinds of message first
#include <windows.h>

#include <cstring>

#include "render/atlas.h"
#include "render/mixed_text.h"
#include "shell/process_state.h"
#include "showcase.h"
#include "ui/message_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    AppInstance = instance;
    CreateSampleFont();
    if (LoadGlyphAtlas() != AtlasOk)
        return 1;
    if (std::strstr(commandLine, "messages")) {
        ShowMessage("祝贺您：安装顺利完成！", "Congratulations! Installation Success!", MB_OK, nullptr);
        ShowMessage("安装目录有老词库。是否安装新词库(会冲掉老词库)?",
                    "Old CiKu (Word Base) is detected. Replace it with new CiKu?", MB_YESNO, nullptr);
        ShowMessage("请您回答提问.", "Please select a choice.", MB_OKCANCEL, nullptr);
    }
    if (CreateShowcase(instance)) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    FreeGlyphAtlas();
    if (SampleFont)
        DeleteObject(SampleFont);
    return 0;
}
