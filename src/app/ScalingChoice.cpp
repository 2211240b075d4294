#include "app/ScalingChoice.h"

#include "app/ScreenScaling.h"
#include "app/Universalfn.h"

#include <QGuiApplication>
#include <QScreen>
#include <vector>

namespace {
double& FactorInForce()
{
    static double factor = 1.0;
    return factor;
}
} // namespace

bool ScalingChoice::Enabled(const QStringList& arguments)
{
    const QString name = QLatin1String(SettingName);
    const QString store = QLatin1String(StoreOption);
    bool thisRunOff = false;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String(NoScalingOption))
            thisRunOff = true;
        else if (argument == store + QLatin1String("on") ||
                 argument == store + QLatin1String("off"))
            RegWriteText(QString(), name, argument.mid(store.size()));
    }
    QString stored;
    RegReadText(QString(), name, stored);
    return !thisRunOff && stored != QLatin1String("off");
}

double ScalingChoice::FactorFor(QSize screen)
{
    return ScaleForScreen(screen, DesignSizeFor(screen)).Factor;
}

double ScalingChoice::Factor()
{
    return FactorInForce();
}

void ScalingChoice::SetFactor(double factor)
{
    FactorInForce() = factor;
}

QSize ScalingChoice::MeasureScreen(int argc, char** argv)
{
    // A short-lived application object only to ask the window system; the
    // program's own one is created after it, with the factor set.
    std::vector<char*> arguments(argv, argv + argc);
    int count = argc;
    QGuiApplication probe(count, arguments.data());
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

void ScalingChoice::Prepare(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!Enabled(arguments))
        return;
    const double factor = FactorFor(MeasureScreen(argc, argv));
    if (factor <= 1.0)
        return;
    // On top of any factor the desktop or the user already asked Qt for.
    bool given = false;
    const double before = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    qputenv("QT_SCALE_FACTOR", QByteArray::number((given ? before : 1.0) * factor, 'g', 17));
    SetFactor(factor);
}
