#include "reports/CChunkWriter.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace {

// Small enough to stay in the processor's cache while the kernel copies it,
// large enough that the writes cost little.
constexpr qsizetype kChunk = 256 * 1024;

} // namespace

CChunkWriter::CChunkWriter(QIODevice* device) : m_device(device)
{
    m_buffer.resize(kChunk);
}

char* CChunkWriter::Room(qsizetype bytes)
{
    if (m_used + bytes > m_buffer.size()) {
        if (m_device)
            Flush();
        if (m_used + bytes > m_buffer.size())
            m_buffer.resize(std::max(m_used + bytes, m_device ? kChunk : 2 * m_buffer.size()));
    }
    return m_buffer.data() + m_used;
}

void CChunkWriter::Advance(const char* end)
{
    m_used = end - m_buffer.constData();
}

void CChunkWriter::Append(const QByteArray& bytes)
{
    char* at = Room(bytes.size());
    std::memcpy(at, bytes.constData(), std::size_t(bytes.size()));
    Advance(at + bytes.size());
}

void CChunkWriter::Flush()
{
    if (!m_failed && m_used > 0 && m_device->write(m_buffer.constData(), m_used) != m_used)
        m_failed = true;
    m_used = 0;
}

bool CChunkWriter::Finish()
{
    if (m_device)
        Flush();
    else
        m_buffer.resize(m_used);
    return !m_failed;
}
