#pragma once
#include "app/AppMessage.h"

#include <QList>
#include <QPointer>
#include <QSettings>
#include <QWidget>

// Stands in for the user at the program's message boxes: records every box
// and answers from a list (OK once the list is used up).
class MessageRecorder
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QPointer<QWidget> owner;
        bool hadOwner;
    };

    explicit MessageRecorder(QList<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers))
    {
        m_previous =
            SetAppMessageHandler([this](QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
                QWidget* owner = MessageOwner();
                boxes.append({icon, caption, text, buttons, owner, owner != nullptr});
                return m_answers.isEmpty() ? QMessageBox::Ok : m_answers.takeFirst();
            });
    }
    ~MessageRecorder() { SetAppMessageHandler(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<Box> boxes;

private:
    QList<QMessageBox::StandardButton> m_answers;
    AppMessageFn m_previous;
};
