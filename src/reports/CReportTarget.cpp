#include "reports/CReportTarget.h"

#include <QDir>
#include <QFileInfo>

CReportTarget::CReportTarget(const QString& path) : m_file(path) {}

CReportTarget::~CReportTarget()
{
    // Not committed: QSaveFile removes its temporary file.
    if (m_file.isOpen())
        m_file.cancelWriting();
}

void CReportTarget::Fail()
{
    m_error = QStringLiteral("Nie można zapisać pliku „%1”.")
                  .arg(QDir::toNativeSeparators(m_file.fileName()));
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool CReportTarget::Open()
{
    if (!QFileInfo(m_file.fileName()).absoluteDir().exists() ||
        !m_file.open(QIODevice::WriteOnly)) {
        Fail();
        return false;
    }
    return true;
}

bool CReportTarget::Commit()
{
    if (m_file.error() != QFileDevice::NoError || !m_file.commit()) {
        Fail();
        return false;
    }
    return true;
}
