#pragma once
#include <QByteArray>

class QIODevice;

// Bytes written by hand into a buffer that goes to a device in large chunks,
// so that a file of a hundred megabytes is never held whole and each byte is
// copied once; without a device the buffer grows and keeps everything. The
// writer asks for Room, writes there and says where it ended with Advance.
class CChunkWriter
{
public:
    // `device` may be null: the bytes are kept for Bytes().
    explicit CChunkWriter(QIODevice* device);
    CChunkWriter(const CChunkWriter&) = delete;
    CChunkWriter& operator=(const CChunkWriter&) = delete;

    // Where at least `bytes` bytes may be written next.
    char* Room(qsizetype bytes);
    // The bytes up to `end` (from the last Room) are written.
    void Advance(const char* end);
    void Append(const QByteArray& bytes);

    // Sends what is left to the device; false when the device took less than
    // it was given, now or before.
    bool Finish();
    // Everything written, without a device, after Finish.
    const QByteArray& Bytes() const { return m_buffer; }

private:
    void Flush();

    QIODevice* m_device;
    QByteArray m_buffer; // m_used bytes written, the rest room
    qsizetype m_used = 0;
    bool m_failed = false;
};
