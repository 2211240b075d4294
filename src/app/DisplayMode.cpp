#include "app/DisplayMode.h"

#include "app/AppMessage.h"
#include "app/ScreenScaling.h"
#include "app/Universalfn.h"

#include <QGuiApplication>
#include <QScreen>

QString AppExeName;
QString AppDir;
int ScreenWidth = 0;
int ScreenHeight = 0;
int DisplayMode = DM_1280;
int DesignWidth = 1280;
int DesignHeight = 960;
int OffsetX = 0;
int OffsetY = 0;
int ColorMode = CM_COLOR;
bool DisplayModePending = true;

namespace {

const QString AcceptName = QStringLiteral("LowResAccept");
// Where a Linux desktop changes the screen resolution (GNOME, KDE and most
// others name it so).
const QString DisplaySettings = QStringLiteral("(Ustawienia, Ekrany)");

ScreenSizeSource& SizeSource()
{
    static ScreenSizeSource source;
    return source;
}

QSize ReadScreenSize()
{
    if (SizeSource())
        return SizeSource()();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(0, 0);
}

QSize ScreenPixels(QSize size)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? size * screen->devicePixelRatio() : size;
}

QString ResolutionIntro(int w, int h)
{
    return QStringLiteral("Wymagania sprzętowe programu określają minimalną rozdzielczość, jaką "
                          "powinien mieć ekran.\nTwoja aktualna rozdzielczość to %1 na %2, ")
        .arg(w)
        .arg(h);
}

bool RefuseTooSmall(int w, int h)
{
    ShowAppMessage(QMessageBox::Warning, ApplicationTitle(),
                   ResolutionIntro(w, h) +
                       QStringLiteral("a minimalna potrzebna do uruchomienia programu wynosi 800 "
                                      "na 600.\n\nPrzejdź do panelu sterowania i zmień "
                                      "rozdzielczość\n") +
                       DisplaySettings + QLatin1Char('.'));
    return false;
}

bool AskOk(const QString& text)
{
    return ShowAppMessage(QMessageBox::Information, ApplicationTitle(), text,
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

// The user may run below 1024 x 768 after accepting it twice; the acceptance
// is stored so that later starts on the same screen ask nothing.
bool AcceptLowResolution(int w, int h)
{
    QString accepted;
    RegReadText(QString(), AcceptName, accepted);
    if (accepted == QLatin1String("true"))
        return true;
    const bool goChangeIt = AskOk(
        ResolutionIntro(w, h) +
        QStringLiteral(
            "a minimalna potrzebna do prawidłowego działania programu wynosi 1024 na 768.\n\n"
            "Przyciśnij OK, przejdź do panelu sterowania i zmień rozdzielczość\n") +
        DisplaySettings +
        QStringLiteral(".\n\nUWAGA! Jeśli przyciśniesz Anuluj to program uruchomi się, ale "
                       "niektóre elementy mogą być źle wyświetlane.\nSprawdź czy twój monitor "
                       "umożliwia przełączenie na wyższą rozdzielczość."));
    if (goChangeIt)
        return false;
    if (!AskOk(QStringLiteral("Przyciskając OK akceptujesz gorszy wygląd programu oraz to, że "
                              "program może nie spełniać twoich oczekiwań.")))
        return false;
    RegWriteText(QString(), AcceptName, QStringLiteral("true"));
    return true;
}

} // namespace

ScreenSizeSource SetScreenSizeSource(ScreenSizeSource source)
{
    std::swap(source, SizeSource());
    return source;
}

void SetDisplayModeFor(int screenWidth, int screenHeight)
{
    ScreenWidth = screenWidth;
    ScreenHeight = screenHeight;
    const QSize design = DesignSizeFor(QSize(screenWidth, screenHeight));
    DesignWidth = design.width();
    DesignHeight = design.height();
    DisplayMode = DesignWidth == 800 ? DM_800 : DesignWidth == 1024 ? DM_1024 : DM_1280;
    OffsetX = (ScreenWidth - DesignWidth) / 2;
    OffsetY = (ScreenHeight - DesignHeight) / 2;
    ColorMode = CM_COLOR;
    DisplayModePending = false;
}

bool DetermineDisplayMode()
{
    const QSize size = ReadScreenSize();
    const int w = size.width();
    const int h = size.height();
    // The user knows the screen by its own pixels, not by the design pixels
    // of a screen that shows the design larger.
    const QSize shown = ScreenPixels(size);
    bool goOn = true;
    if (w < 800 || h < 600)
        goOn = RefuseTooSmall(shown.width(), shown.height());
    else if (w < 1024 || h < 768)
        goOn = AcceptLowResolution(shown.width(), shown.height());
    // The globals are set even when start-up ends, so that nothing reads
    // half-set values on the way out.
    SetDisplayModeFor(w, h);
    return goOn;
}
