#include "mainwindow/CDialogFrame.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/DialogFrame.h"

#include <QEvent>
#include <QWidget>

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
    const QImage source = DialogFrame::Source(m_windows);
    m_face = source.isNull() ? QImage() : DialogFrame::Build(source, size.width(), size.height());
    m_dialog->setMask(DialogFrame::Outline(size));
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
