#include "mainwindow/CDialogFrame.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/TFormMessage.h"

#include <QBitmap>
#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {

// The message window's frame picture and the roundness of its corners.
constexpr int FrameSourceImage = 36;
constexpr int CornerRadius = 8;

} // namespace

CDialogFrame::CDialogFrame(QWidget* dialog, CBitmapsContainer* windows)
    : QObject(dialog), m_dialog(dialog), m_windows(windows)
{
    dialog->setWindowFlag(Qt::FramelessWindowHint, true);
    dialog->installEventFilter(this);
}

QMargins CDialogFrame::ContentMargins()
{
    return {14, 42, 14, 14};
}

void CDialogFrame::Rebuild()
{
    const QSize size = m_dialog->size();
    m_face = QImage();
    if (m_windows && m_windows->Count() > FrameSourceImage) {
        CDynamicPlace layout;
        layout.Container = m_windows;
        layout.Add(PT_BITMAP, 0);
        for (const int mode : {DM_800, DM_1024, DM_1280})
            layout.SetBitmap(mode, FrameSourceImage, -1, -1);
        layout.Set_iCurrent(1);
        std::unique_ptr<QImage> source = layout.SuitableBitmap(layout.CurrentDP(), false, 0, 0);
        if (source && !source->isNull()) {
            Make24(*source);
            m_face = TFormMessage::BuildFrame(*source, size.width(), size.height());
        }
    }
    QBitmap outline(size);
    outline.fill(Qt::color0);
    QPainter p(&outline);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::color1);
    p.drawRoundedRect(QRect(QPoint(0, 0), size), CornerRadius, CornerRadius);
    p.end();
    m_dialog->setMask(outline);
}

bool CDialogFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_dialog)
        return false;
    switch (event->type()) {
    case QEvent::Show: {
        // Over the middle of the program, as its other dialogs are.
        Rebuild();
        const QWidget* over =
            m_dialog->parentWidget() ? m_dialog->parentWidget()->window() : nullptr;
        const QRect area = over ? over->geometry() : QRect(0, 0, ScreenWidth, ScreenHeight);
        m_dialog->move(area.center() - m_dialog->rect().center());
        // Up and active also without a window manager, so that typing
        // reaches it at once.
        m_dialog->raise();
        m_dialog->activateWindow();
        break;
    }
    case QEvent::Resize:
        if (m_dialog->isVisible())
            Rebuild();
        break;
    case QEvent::Paint:
        if (!m_face.isNull()) {
            ScreenPainter p(m_dialog);
            p.drawImage(0, 0, m_face);
        }
        break;
    default:
        break;
    }
    return false;
}
