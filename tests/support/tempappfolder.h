#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test, named through NUVAX_HOME while alive.
class TempAppFolder
{
public:
    TempAppFolder();
    ~TempAppFolder();

    QString path() const { return m_dir.path() + u'/'; }
    QString file(const QString &relative) const { return path() + relative; }
    QByteArray read(const QString &relative) const;
    void write(const QString &relative, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
