#pragma once
#include <QSize>
#include <QString>
#include <QStringList>

// Whether the design is shown larger on a screen larger than it, and by how
// much. Decided once, before the application object exists, because the
// factor is handed to Qt's own scaling: every window then keeps working in
// design pixels while Qt draws text at the screen's resolution and maps the
// mouse. A therapist who prefers the design at its own size turns it off in
// the settings ("Scaling" = "off") or for one run on the command line.
class ScalingChoice
{
public:
    static constexpr const char* SettingName = "Scaling";
    static constexpr const char* NoScalingOption = "--no-scaling";
    static constexpr const char* StoreOption = "--scaling="; // followed by on or off

    // Reads the command line and the setting (storing a choice given with
    // --scaling=on|off), measures the screen and sets Qt's scale factor.
    // Call before the application object is created.
    static void Prepare(int argc, char** argv);

    // Whether scaling is on for these arguments (the program's name first)
    // and the stored setting; stores a --scaling= choice.
    static bool Enabled(const QStringList& arguments);
    // The factor for a screen of this size (in Qt's pixels before scaling).
    static double FactorFor(QSize screen);

    // The factor in force for this run (1 when off or not needed).
    static double Factor();
    static void SetFactor(double factor); // tests and tools

private:
    static QSize MeasureScreen(int argc, char** argv);
};
