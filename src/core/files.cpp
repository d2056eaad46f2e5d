#include "core/files.h"

#if defined(_WIN32)
constexpr bool FoldersUseBackslash = true;
#else
constexpr bool FoldersUseBackslash = false;
#endif

std::string NativePath(const char* name)
{
    std::string path(name);
    if constexpr (!FoldersUseBackslash) {
        for (char& ch : path)
            if (ch == '\\')
                ch = '/';
    }
    return path;
}

std::FILE* OpenDataFile(const char* name, const char* mode)
{
    return std::fopen(NativePath(name).c_str(), mode);
}
