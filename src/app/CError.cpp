#include "app/CError.h"

CError::CError(QString message) : m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

QString CError::TextOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const CError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QString();
    }
}

bool CError::IsUserMessage() const
{
    return !m_message.isEmpty() && m_message.at(0) == QLatin1Char('#');
}
