#include "DataBuild.h"

void BuildMaterial(const DataBuildContext&)
{
    Progress("material: not built yet");
}
