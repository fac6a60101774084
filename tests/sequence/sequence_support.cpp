#include "sequence_support.h"

#include <objbase.h>
#include <shlobj.h>
#include <cstdio>

std::string MakeScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%starvo_seq_%lu_%s", temp, GetCurrentProcessId(), name);
    CreateDirectoryA(folder, nullptr);
    return folder;
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

std::string ReadWholeFile(const std::string& path, bool* ok)
{
    std::string content;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (ok)
        *ok = file != nullptr;
    if (!file)
        return content;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    std::fclose(file);
    return content;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

LinkInfo ReadShellLink(const std::string& linkPath)
{
    LinkInfo info;
    if (FAILED(CoInitialize(nullptr)))
        return info;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR widePath[MAX_PATH];
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        info.Target = text;
        text[0] = '\0';
        link->GetWorkingDirectory(text, MAX_PATH);
        info.WorkingFolder = text;
        text[0] = '\0';
        link->GetDescription(text, MAX_PATH);
        info.Description = text;
        text[0] = '\0';
        link->GetIconLocation(text, MAX_PATH, &info.IconIndex);
        info.IconPath = text;
        info.Loaded = true;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return info;
}
