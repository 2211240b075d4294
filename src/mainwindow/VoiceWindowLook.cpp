#include "mainwindow/VoiceWindowLook.h"

#include "app/DisplayMode.h"
#include "mainwindow/CDialogFrame.h"

#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

QFont VoiceWindowFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString VoiceWindowStyle(bool grey)
{
    // Background, panel, edge, text, button top, button bottom, meter.
    const char* const colour[] = {"#dde9f6", "#86c1f0", "#2a4f80", "#0a1a70",
                                  "#f4f9ff", "#b9d8f4", "#2f9e44"};
    const char* const mono[] = {"#e8e8e8", "#c4c4c4", "#505050", "#1e1e1e",
                                "#fafafa", "#d0d0d0", "#606060"};
    const char* const* c = grey ? mono : colour;
    return QStringLiteral(
               "QDialog { background: %1; }"
               "QFrame#panel { background: %2; border: 2px solid %3; border-radius: 14px; }"
               "QLabel { color: %4; background: transparent; }"
               "QPushButton { color: %4; border: 2px solid %3; border-radius: 10px;"
               " padding: 6px 14px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
               " stop:0 %5, stop:1 %6); }"
               "QPushButton:disabled { color: #8a8a8a; border-color: #9a9a9a; }"
               "QPushButton:pressed { background: %6; }"
               "QProgressBar { border: 2px solid %3; border-radius: 6px; background: %5; }"
               "QProgressBar::chunk { background: %7; border-radius: 4px; }"
               "QTreeView, QLineEdit, QComboBox { color: %4; background: %5;"
               " border: 2px solid %3; border-radius: 6px;"
               " selection-background-color: %3; selection-color: %5; }"
               "QHeaderView::section { color: %4; background: %6; border: none;"
               " border-bottom: 1px solid %3; padding: 2px 4px; }")
        .arg(QLatin1String(c[0]), QLatin1String(c[1]), QLatin1String(c[2]), QLatin1String(c[3]),
             QLatin1String(c[4]), QLatin1String(c[5]), QLatin1String(c[6]));
}

void ApplyVoiceWindowLook(QWidget* window)
{
    window->setStyleSheet(VoiceWindowStyle(ColorMode == CM_MONO));
}

double VoiceWindowScale()
{
    return std::max(800, DesignWidth) / 1280.0;
}

QVBoxLayout* AddVoicePanel(QDialog* window, int width, int height)
{
    const double s = VoiceWindowScale();
    window->setFixedSize(int(width * s), int(height * s));
    new CDialogFrame(window);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(CDialogFrame::ContentMargins());
    auto* panel = new QFrame(window);
    panel->setObjectName(QStringLiteral("panel"));
    outer->addWidget(panel);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(int(24 * s), int(16 * s), int(24 * s), int(16 * s));
    column->setSpacing(int(11 * s));
    return column;
}

QPushButton* AddVoiceButton(QWidget* panel, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, panel);
    button->setObjectName(QLatin1String(name));
    button->setFont(VoiceWindowFont(int(18 * VoiceWindowScale())));
    button->setAutoDefault(false);
    return button;
}
