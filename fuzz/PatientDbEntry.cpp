#include "FuzzEntries.h"
#include "FuzzScratch.h"

#include "app/CError.h"
#include "patients/CPatient.h"

#include <QTreeWidget>

namespace {

// As the main window uses the store: the list filled, each patient clicked
// on in turn (which saves the one before), the therapy date marked.
void UseAsMainWindow(CPatient& patient)
{
    QTreeWidget list;
    list.setColumnCount(4);
    patient.FillList(&list);
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        patient.Select(list.topLevelItem(i)->data(0, Qt::UserRole).toInt());
        patient.StartDateText();
        patient.LastDateText();
        patient.Settings().Selected();
    }
    if (patient.ActiveId() != -1)
        patient.MarkTherapyToday();
}

} // namespace

QString FuzzPatientDb(QByteArrayView input)
{
    const FuzzScratch file(QStringLiteral("pacmem.qp"), input);
    if (!file.IsWritten())
        return QStringLiteral("scratch file not written");
    try {
        // Closing saves the active patient and remembers it.
        CPatient patient;
        if (!patient.Open(file.Path()))
            return QStringLiteral("not opened");
        UseAsMainWindow(patient);
    } catch (const CError& e) {
        // The program shows these to the user; that is a clean end.
        return e.Message();
    }
    return {};
}
