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

void CReportTarget::Abandon()
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
        Abandon();
        return false;
    }
    return true;
}

bool CReportTarget::Commit()
{
    if (m_file.error() != QFileDevice::NoError || !m_file.commit()) {
        Abandon();
        return false;
    }
    return true;
}

QString CReportTarget::SafeFileName(const QString& name)
{
    QString safe;
    for (const QChar c : name)
        safe +=
            (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? QLatin1Char('_') : c;
    safe = safe.left(120);
    while (!safe.isEmpty() && (safe.front() == QLatin1Char('.') || safe.front().isSpace()))
        safe.remove(0, 1);
    while (!safe.isEmpty() && (safe.back() == QLatin1Char('.') || safe.back().isSpace()))
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("raport") : safe;
}
