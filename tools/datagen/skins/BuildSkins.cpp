#include "DataBuild.h"

void BuildSkins(const DataBuildContext&)
{
    Progress("skins: not built yet");
}
