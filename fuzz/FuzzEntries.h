#pragma once
#include <QByteArrayView>
#include <QString>

// What each fuzz target does with one input: the bytes become one kind of the
// program's files and go through the code that opens and uses such a file, as
// the program would. The same functions run under libFuzzer (fuzz/run.sh) and
// in the regression tests, which feed them the inputs the fuzzers found.
//
// Each returns what was wrong with the input (empty when it was accepted
// whole). A broken invariant aborts, so that the fuzzer reports it.

// A bitmap container (".bc", ".bb"): opened both ways, every entry loaded raw
// and decoded.
QString FuzzContainer(QByteArrayView input);
// A scrambled sound (".wv"): unscrambled, parsed and converted for the device.
QString FuzzWave(QByteArrayView input);
// A scrambled film (".mpg"): opened on the film panel, played to its end,
// rewound and closed again.
QString FuzzFilm(QByteArrayView input);
// The content database ("sdrow.qp"): loaded, then its records selected and
// drawn.
QString FuzzContentDb(QByteArrayView input);
// The patient database ("pacmem.qp"): opened, listed, every patient selected
// and saved, closed.
QString FuzzPatientDb(QByteArrayView input);
// An own-material export file (".lqw") with its check sum made right:
// imported into an empty own-material folder, which must then read back.
QString FuzzOwnImport(QByteArrayView input);
