// The libFuzzer side of one fuzz target: LOQUENA_FUZZ_ENTRY names the function
// of FuzzEntries.h that it runs on each input.
#include "FuzzEntries.h"

#include <QApplication>
#include <QFontMetrics>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    // Widgets and pictures need the application object; it lives as long as
    // the process.
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    static QApplication* app = new QApplication(qtArgc, qtArgv);
    // The font database is filled on first use, which takes a while: done
    // here, it does not make the first input of each run look slow.
    QFontMetrics(QApplication::font()).horizontalAdvance(QStringLiteral("Źdźbło"));
    (void)argc;
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LOQUENA_FUZZ_ENTRY(QByteArrayView(data, qsizetype(size)));
    return 0;
}
