#pragma once
#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;

// The window shown while the program starts: the picture "Data/sp.b", or the
// program's name on navy when the picture cannot be read. A second start of
// the program brings it to the front; a double click hides it.
class TFormSplash : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 592;
    static constexpr int DefaultHeight = 296;

    explicit TFormSplash(const QString& picturePath = QStringLiteral("Data/sp.b"));
    ~TFormSplash() override;

    // Null when the picture could not be loaded.
    const QImage* Picture() const { return m_picture.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QLabel* AddLabel(const char* name, const QString& text, int x, int y, int pixelSize,
                     const QColor& colour);
    void FormDblClick();

    std::unique_ptr<QImage> m_picture;
};

// The splash of this run while it exists. Start-up creates it; the main window
// resets it when it is first shown.
extern std::unique_ptr<TFormSplash> FormSplash;
