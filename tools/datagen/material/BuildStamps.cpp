#include "BuildStamps.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

BuildStamps::BuildStamps(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const int tab = line.indexOf('\t');
        if (tab > 0)
            m_stamps.insert(QString::fromUtf8(line.left(tab)), line.mid(tab + 1));
    }
}

bool BuildStamps::UpToDate(const QString& output, const QByteArray& inputHash) const
{
    return m_stamps.value(output) == inputHash && QFileInfo::exists(output);
}

void BuildStamps::Record(const QString& output, const QByteArray& inputHash)
{
    m_stamps.insert(output, inputHash);
}

void BuildStamps::Save() const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    for (auto it = m_stamps.begin(); it != m_stamps.end(); ++it)
        file.write(it.key().toUtf8() + '\t' + it.value() + '\n');
    file.commit();
}

QByteArray BuildStamps::Hash(const QStringList& texts, const QStringList& files)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const QString& t : texts) {
        h.addData(t.toUtf8());
        h.addData(QByteArrayView("\0", 1));
    }
    for (const QString& f : files) {
        QFile file(f);
        if (file.open(QIODevice::ReadOnly))
            h.addData(&file);
        h.addData(QByteArrayView("\1", 1));
    }
    return h.result().toHex();
}
