#include "app/CError.h"

CError::CError(QString message) : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

bool CError::IsUserMessage() const
{
    return !m_message.isEmpty() && m_message.at(0) == QLatin1Char('#');
}
