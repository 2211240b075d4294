// The dialogs' skinned frame: the face tiled from the skin's frame picture
// as the message window's, painted under the dialog's widgets, following the
// dialog's size, with round corners cut off, and the dialog centred over the
// program's window.
#include "mainwindow/CDialogFrame.h"
#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "mainwindow/TFormMessage.h"

#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(DialogFrame, TheFaceIsTheMessageWindowsTiledToTheDialogUnderItsWidgets)
{
    SetDisplayModeFor(1280, 960);
    ColorMode = CM_COLOR;
    const auto windows = SkinFixture::Get().OpenWindows();
    ASSERT_TRUE(windows);
    QWidget program;
    program.setGeometry(0, 0, 1280, 960);
    program.show();
    QDialog dialog(&program);
    auto* frame = new CDialogFrame(&dialog, windows.get());
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(CDialogFrame::ContentMargins());
    auto* caption = new QLabel(QStringLiteral("Słowo"), &dialog);
    layout->addWidget(caption);
    dialog.resize(500, 320);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.geometry().center(), program.geometry().center());

    for (const QSize size : {QSize(500, 320), QSize(640, 400)}) {
        dialog.resize(size);
        QTest::qWait(20);
        const QImage expected = TFormMessage::BuildFrame(
            SkinFixture::FrameSource().convertToFormat(QImage::Format_BGR888), size.width(),
            size.height());
        ASSERT_EQ(frame->Face().size(), size);
        EXPECT_EQ(frame->Face().convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
        // Painted under the widgets: the edge, the band and the middle, also
        // where the label lies.
        const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint label = caption->geometry().topRight() + QPoint(-2, 2);
        for (const QPoint at : {QPoint(size.width() / 2, 3), QPoint(20, 30),
                                QPoint(size.width() / 2, size.height() / 2), label})
            EXPECT_EQ(shown.pixel(at), expected.pixel(at)) << at.x() << "," << at.y();
        // The corners are cut round; the edges stay.
        EXPECT_FALSE(dialog.mask().contains(QPoint(0, 0)));
        EXPECT_FALSE(dialog.mask().contains(QPoint(size.width() - 1, size.height() - 1)));
        EXPECT_TRUE(dialog.mask().contains(QPoint(size.width() / 2, 0)));
        EXPECT_TRUE(dialog.mask().contains(QPoint(0, size.height() / 2)));
    }
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
}

} // namespace
