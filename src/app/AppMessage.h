#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The caption of the program's own boxes once start-up has passed the
// instance check.
QString ApplicationTitle();

// Start-up and the top-level error handler talk to the user through this one
// function, so that a test can answer in the user's place.
using AppMessageFn = std::function<QMessageBox::StandardButton(
    QMessageBox::Icon icon, const QString& caption, const QString& text,
    QMessageBox::StandardButtons buttons)>;

QMessageBox::StandardButton ShowAppMessage(QMessageBox::Icon icon, const QString& caption,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Replaces the function that shows the boxes (empty: a QMessageBox owned by
// MessageOwner()). Returns the previous one.
AppMessageFn SetAppMessageHandler(AppMessageFn handler);

// The owner of start-up boxes: the splash while it exists, else none.
QWidget* MessageOwner();
