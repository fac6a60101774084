// The destination check of the install trigger: pure rules over the text.
#include "install/destination.h"

#include <string.h>

#include "install/installation.h"
#include "install/manifest.h"
#include "install/replace_file.h"
#include "shell/paths.h"

namespace {

int IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length of the name that starts at name and ends at the next backslash or
// at the end, walking by characters: a trail byte may be 0x5C.
size_t NameLength(const char* name, UINT codePage)
{
    const char* p = name;
    while (*p && *p != '\\')
        p += IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1] ? 2 : 1;
    return static_cast<size_t>(p - name);
}

// "X:\..." or "\\server\share...". Anything else names a place relative to
// the current drive or folder, which depends on how the installer was started.
int IsFullPath(const char* path, UINT codePage)
{
    if (IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 1;
    if (path[0] != '\\' || path[1] != '\\')
        return 0;
    const char* server = path + 2;
    size_t serverLength = NameLength(server, codePage);
    if (serverLength == 0 || server[serverLength] != '\\')
        return 0;
    return NameLength(server + serverLength + 1, codePage) > 0;
}

int IsDroppedAtNameEnd(char c)
{
    return c == ' ' || c == '.';
}

// A name of blanks and dots alone that names the folder above: "..", with
// any blanks after it (which some system might drop first).
int IsParentName(const char* name, size_t length)
{
    while (length > 0 && name[length - 1] == ' ')
        --length;
    return length == 2 && name[0] == '.' && name[1] == '.';
}

}  // namespace

int TidyDestination(char* path, UINT codePage)
{
    const char* in = path;
    while (*in == ' ')
        ++in;
    // Written over the text it is read from: out never passes in.
    size_t out = 0;
    // "C: \Tarvo" or "C:.\Tarvo" names a folder below the drive's current
    // one: tidied, it would become the root's.
    if (IsDriveLetter(in[0]) && in[1] == ':')
        for (size_t first = NameLength(in, codePage); out < first;)
            path[out++] = *in++;
    size_t nameStart = out, kept = out;
    for (;;) {
        if (*in == '\\' || *in == '\0') {
            const int last = *in == '\0';
            // A name of blanks and dots alone: the last one goes, any other
            // (and the folder above) leaves no folder to make.
            if (out > nameStart && kept == nameStart &&
                (!last || IsParentName(path + nameStart, out - nameStart)))
                return 0;
            out = kept;
            if (last)
                break;
            path[out++] = *in++;
            nameStart = kept = out;
            continue;
        }
        const int step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*in)) && in[1] ? 2 : 1;
        const int dropped = step == 1 && IsDroppedAtNameEnd(*in);
        for (int i = 0; i < step; ++i)
            path[out++] = *in++;
        if (!dropped)
            kept = out;
    }
    path[out] = '\0';
    return 1;
}

int LongestNameInDestination()
{
    size_t longest = strlen(DocFolderName);
    if (longest < static_cast<size_t>(ReplacementNameLength))
        longest = ReplacementNameLength;
    for (const ManifestRow& row : InstallManifest)
        if (strlen(row.Entry.FileName) > longest)
            longest = strlen(row.Entry.FileName);
    for (const char* target : ShortcutTargets)
        if (strlen(target) > longest)
            longest = strlen(target);
    return static_cast<int>(longest);
}

DestinationCheck CheckDestination(const char* typed, UINT codePage)
{
    if (!IsFullPath(typed, codePage))
        return DestinationNotFullPath;
    char folder[MAX_PATH];
    if (!FormatBounded(folder, sizeof folder, "%s", typed))
        return DestinationTooLong;
    StripTrailingBackslashes(folder, codePage);
    // folder\name, with its NUL, in MAX_PATH bytes.
    if (strlen(folder) + 1 + LongestNameInDestination() >= MAX_PATH)
        return DestinationTooLong;
    return DestinationUsable;
}

int DefaultDestination(const char* windowsDir, const char* folderName, char* out)
{
    return FormatBounded(out, MAX_PATH, "%c:\\%s", windowsDir[0], folderName);
}

int DocFolderOf(const char* installDir, UINT codePage, char* out)
{
    const char* separator = EndsWithBackslash(installDir, codePage) ? "" : "\\";
    return FormatBounded(out, MAX_PATH, "%s%s%s", installDir, separator, DocFolderName);
}
