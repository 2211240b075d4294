// loquena-data --source <data/> --out <program folder> [--work <dir>] [--force] [--skins-only]
// loquena-data --out <folder> --patients-only
#include "DataBuild.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>
#include <functional>

namespace {

// Runs the build's steps; a failed step prints its message and fails the run.
int RunSteps(const std::function<void()>& steps)
{
    try {
        steps();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "loquena-data: %s\n", e.what());
        return 1;
    }
    Progress("done");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Builds the Data/ folder of Loquena from its sources.");
    parser.addHelpOption();
    parser.addOption({"source", "The material's sources (data/ of the checkout).", "dir"});
    parser.addOption({"out", "The program folder.", "dir"});
    parser.addOption({"work", "Scratch folder for intermediate files.", "dir"});
    parser.addOption({"force", "Rebuild everything."});
    parser.addOption({"skins-only", "Build only the skins (grwin.bc, bttofa.bc, cextb.bc, sp.b)."});
    parser.addOption({"patients-only",
                      "Make only an empty patient database and Nagrane/, when missing (the "
                      "installed program's template for each user's program folder)."});
    parser.process(app);
    if (parser.isSet("patients-only")) {
        if (!parser.isSet("out")) {
            std::fprintf(stderr, "loquena-data: --out is required\n");
            return 2;
        }
        DataBuildContext ctx;
        ctx.out = QDir(parser.value("out"));
        ctx.out.mkpath(".");
        return RunSteps([&ctx] { BuildPatientFolder(ctx); });
    }
    if (!parser.isSet("source") || !parser.isSet("out")) {
        std::fprintf(stderr, "loquena-data: --source and --out are required\n");
        return 2;
    }
    DataBuildContext ctx;
    ctx.source = QDir(parser.value("source"));
    ctx.out = QDir(parser.value("out"));
    ctx.work = QDir(parser.isSet("work") ? parser.value("work") : ctx.out.filePath(".datawork"));
    ctx.force = parser.isSet("force");
    if (!ctx.source.exists()) {
        std::fprintf(stderr, "loquena-data: no source folder %s\n", qPrintable(ctx.source.path()));
        return 1;
    }
    ctx.out.mkpath("Data");
    ctx.work.mkpath(".");
    return RunSteps([&ctx, skinsOnly = parser.isSet("skins-only")] {
        if (!skinsOnly)
            BuildMaterial(ctx);
        BuildSkins(ctx);
        if (!skinsOnly)
            BuildPatientFolder(ctx);
    });
}
