#include "DataBuild.h"

#include <QFile>

// The patient database and the recordings belong to the therapist: they are
// created once, when missing, and never touched again by the build.
void BuildPatientFolder(const DataBuildContext& ctx)
{
    if (!ctx.out.exists("Nagrane")) {
        ctx.out.mkpath("Nagrane");
        QFile::setPermissions(ctx.out.filePath("Nagrane"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Progress("made Nagrane/");
    }
}
