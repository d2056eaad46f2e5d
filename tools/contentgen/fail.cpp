#include "contentgen/fail.h"

#include <cstdio>
#include <cstdlib>

void Fail(const char* what, const char* detail)
{
    std::fprintf(stderr, "tarvel-contentgen: %s %s\n", what, detail);
    std::fflush(stderr);
    std::exit(-1);
}
