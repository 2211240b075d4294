#include "app/TFormSplash.h"

#include "app/JpegDecoder.h"
#include "app/ScreenPainter.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

std::unique_ptr<TFormSplash> FormSplash;

namespace {

const QColor Navy(0, 0, 128);

std::unique_ptr<QImage> LoadPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    auto picture = std::make_unique<QImage>();
    if (!JpegDecoder::Decode(file.readAll(), picture.get()))
        return nullptr;
    return picture;
}

} // namespace

TFormSplash::TFormSplash(const QString& picturePath)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Loquena Cz. I Splash"));
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers the whole area
    setAttribute(Qt::WA_QuitOnClose, false);

    const QList<QLabel*> labels = {
        AddLabel("lbNazwa1", QStringLiteral("Loquena"), 64, 64, 60, Qt::white),
        AddLabel("lbNazwa2", QStringLiteral("Terapia"), 64, 128, 60, Qt::white),
        AddLabel("lbNazwa3", QStringLiteral("Afazji"), 64, 192, 60, Qt::white),
        AddLabel("lbCzesc", QStringLiteral("Część I"), 464, 216, 30, Qt::red),
        AddLabel("lbVarentis", QStringLiteral("--= Varentis =--"), 0, 0, 21, QColor(0, 255, 0)),
    };

    m_picture = LoadPicture(picturePath);
    if (m_picture) {
        setFixedSize(m_picture->size());
    } else {
        setFixedSize(DefaultWidth, DefaultHeight);
        for (QLabel* label : labels)
            label->setVisible(true);
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TFormSplash::~TFormSplash() = default;

QLabel* TFormSplash::AddLabel(const char* name, const QString& text, int x, int y, int pixelSize,
                              const QColor& colour)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    // A double click on a label reaches the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->adjustSize();
    label->move(x, y);
    label->setVisible(false);
    return label;
}

void TFormSplash::paintEvent(QPaintEvent*)
{
    ScreenPainter painter(this);
    if (m_picture)
        painter.drawImage(0, 0, *m_picture);
    else
        painter.fillRect(rect(), Navy);
}

void TFormSplash::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    FormDblClick();
}

void TFormSplash::FormDblClick()
{
    hide();
}
