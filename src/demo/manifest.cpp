#include "demo/manifest.h"

#include <cstdio>

namespace {

constexpr const char* LetterFiles[27] = {
    "graph\\a1.TGA", "graph\\A.TGA", "graph\\b.TGA",  "graph\\c.TGA", "graph\\d1.TGA", "graph\\D.TGA",
    "graph\\e1.TGA", "graph\\E.TGA", "graph\\i.TGA",  "graph\\K.TGA", "graph\\l1.TGA", "graph\\L.TGA",
    "graph\\m1.TGA", "graph\\M.TGA", "graph\\n1.TGA", "graph\\N.TGA", "graph\\o1.TGA", "graph\\O.TGA",
    "graph\\p1.TGA", "graph\\P.TGA", "graph\\r1.TGA", "graph\\R.TGA", "graph\\s1.TGA", "graph\\S.TGA",
    "graph\\t.TGA",  "graph\\u.TGA", "graph\\z.TGA",
};

std::string Numbered(const char* format, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, format, number);
    return name;
}

} // namespace

std::string ManifestFile(int slot)
{
    if (slot >= 1 && slot <= 19)
        return Numbered("graph\\sprite%02d.TGA", slot - 1);
    if (slot >= 20 && slot <= 28)
        return Numbered("graph\\FRASE%02d.TGA", slot - 20);
    if (slot == 29)
        return "graph\\sprite19.TGA";
    if (slot == 40)
        return "graph\\fondon.TGA";
    if ((slot >= 30 && slot <= 50) || (slot >= 81 && slot <= 88))
        return Numbered("graph\\sprite%02d.TGA", slot);
    if (slot >= 51 && slot <= 78)
        return Numbered("graph\\foto%03d.TGA", slot - 50);
    if (slot >= 101 && slot <= 127)
        return LetterFiles[slot - 101];
    return "";
}
