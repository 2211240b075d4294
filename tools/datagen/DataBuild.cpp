#include "DataBuild.h"

#include <cstdio>

void Progress(const QString& line)
{
    std::fprintf(stdout, "[data] %s\n", qPrintable(line));
    std::fflush(stdout);
}
