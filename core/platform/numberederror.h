#pragma once
// A failure that carries its number, the operation it came from and a German
// description, for callers that tell the operator "Fehler: " and the number.
#include <QString>
#include <exception>

class NumberedError : public std::exception
{
public:
    NumberedError(int number, QString source, QString description)
        : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
          m_what(m_description.toUtf8())
    {
    }

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
