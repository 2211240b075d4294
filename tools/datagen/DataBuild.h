#pragma once
#include <QDir>
#include <QString>
#include <stdexcept>

// Where the data build reads and writes, shared by all its steps.
struct DataBuildContext
{
    QDir source;        // data/ of the checkout: the material's sources
    QDir out;           // the program folder; Data/ is made inside it
    QDir work;          // scratch space for intermediate files (rendered pictures, raw speech)
    bool force = false; // rebuild even what is up to date

    QString dataPath(const QString& rel) const { return out.filePath("Data/" + rel); }
};

// A step that cannot go on (a missing source, a failed tool) throws this; the
// build prints the message and fails.
class DataBuildError : public std::runtime_error
{
public:
    explicit DataBuildError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Prints one line of progress.
void Progress(const QString& line);

// The steps, in the order the build runs them.
void BuildMaterial(const DataBuildContext& ctx);      // sdrow.qp, photo archives, speech, films
void BuildSkins(const DataBuildContext& ctx);         // grwin.bc, bttofa.bc, cextb.bc, sp.b
void BuildPatientFolder(const DataBuildContext& ctx); // pacmem.qp and Nagrane/, only when missing
