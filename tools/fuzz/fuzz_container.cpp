// libFuzzer target: any bytes as a bitmap container file, opened and every
// entry loaded raw and decoded. Built and run by run_fuzz.sh, not by CMake.
#include "graphics/CBitmapsContainer.h"

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/loquena-fuzz-" + std::to_string(getpid()) + ".bc";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    for (bool closeAfterRead : {false, true}) {
        CBitmapsContainer bc;
        if (bc.Open(QString::fromStdString(path), closeAfterRead) != 0)
            continue;
        const int count = std::min(bc.Count(), 64);
        for (int i = -1; i <= count; ++i) {
            QByteArray raw;
            bc.LoadTo(&raw, i);
            QImage img;
            bc.LoadTo(&img, i);
        }
    }
    return 0;
}
