#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QFile;

// An indexed file of BMP and JPEG images: a directory at the head, then the
// images one after another. Failures are reported as small result codes.
class CBitmapsContainer
{
public:
    enum : int
    {
        BC_OK = 0,
        BC_PLATFORM = 1,
        BC_CANNOT_OPEN = 2,
        BC_TOO_LARGE = 4,
        BC_BAD_FORMAT = 5,
        BC_READ = 9,
        BC_EMPTY = 15,
        BC_INDEX = 16,
    };
    static constexpr int MaxEntries = 5000;
    static constexpr int RecordSize = 24;
    static constexpr int MaxDirectorySize = 4 + MaxEntries * RecordSize;

    // One directory record, read verbatim (24 bytes).
    struct CBitmapInfo
    {
        int32_t offset = 0;
        int32_t size = 0;
        uint8_t unused8[8] = {};
        int32_t unused16 = -1;
        uint8_t format = 0;
        uint8_t unused21[3] = {0, 1, 0};
    };
    static_assert(sizeof(CBitmapInfo) == RecordSize);

    CBitmapsContainer();
    ~CBitmapsContainer();
    CBitmapsContainer(const CBitmapsContainer&) = delete;
    CBitmapsContainer& operator=(const CBitmapsContainer&) = delete;

    int Open(const QString& fileName, bool closeAfterRead);
    // Open with the file kept open, also refusing a file that is cut short
    // (an entry whose data runs past the end: BC_READ), so that a damaged
    // copy is found when the program starts rather than image by image.
    int OpenComplete(const QString& fileName);
    // Raw bytes of image `index`; throws CError for a null stream.
    int LoadTo(QByteArray* memoryStream, int index);
    // Decoded image `index`: Format_BGR888 for colour, Format_Grayscale8 for
    // grey images; throws CError for a null bitmap.
    int LoadTo(QImage* bitmap, int index);
    void Clear();

    int Count() const { return static_cast<int>(m_directory.size()); }
    const QString& FileName() const { return m_fileName; }
    bool IsFileOpen() const { return m_file != nullptr; }

private:
    enum class TBitmapError : uint8_t
    {
    };
    [[noreturn]] static void Fail(int code);
    void OpenFile(const QString& fileName);
    void ReadExactly(char* target, qint64 size);
    void DoOpen(const QString& fileName);
    void DoLoad(QByteArray& stream, int index);
    static bool RunsPastEnd(const CBitmapInfo& info, qint64 fileSize);

    QString m_fileName;
    std::unique_ptr<QFile> m_file;
    std::vector<CBitmapInfo> m_directory;
    bool m_closeAfterRead = false;
};

// The two skin containers that the main window loads ("Data/grwin.bc" and
// "Data/bttofa.bc") and publishes for the windows that take their skins from
// them: message, result, information and help. Null until the main window has
// loaded them; the main window owns them.
extern CBitmapsContainer* WindowsContainer;
extern CBitmapsContainer* ButtonsContainer;
