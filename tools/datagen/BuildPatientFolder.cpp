#include "DataBuild.h"

#include "app/CError.h"
#include "platform/DatabaseSchema.h"

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
    const QString database = ctx.out.filePath("pacmem.qp");
    if (QFile::exists(database))
        return;
    try {
        // Made with mode 0600; an existing file is never opened for writing.
        if (CreatePatientDatabase(database))
            Progress("made pacmem.qp (empty patient database)");
    } catch (const CError& error) {
        throw DataBuildError("pacmem.qp: " + error.Message());
    }
}
