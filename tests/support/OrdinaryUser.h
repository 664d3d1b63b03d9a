#pragma once

#include <QDirIterator>
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

// Root writes into any folder, so a test of a folder the learner may not write
// locks the folder and, when started as root, acts as the user "nobody" until
// it ends. usable() is false (with the reason) where neither can be done.
class OrdinaryUser
{
public:
    static constexpr uid_t Nobody = 65534;

    explicit OrdinaryUser(const QString &folder)
        : m_folder(folder)
    {
        if (::geteuid() == 0) {
            if (!handOver(folder) || ::seteuid(Nobody) != 0) {
                m_reason = QStringLiteral("running as root without the right to act as nobody");
                return;
            }
            m_switched = true;
        }
        m_usable = ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
        if (!m_usable)
            m_reason = QStringLiteral("cannot lock the folder");
    }
    ~OrdinaryUser()
    {
        ::chmod(QFile::encodeName(m_folder).constData(), 0755);
        if (m_switched) {
            [[maybe_unused]] const int restored = ::seteuid(0);
        }
    }
    OrdinaryUser(const OrdinaryUser &) = delete;
    OrdinaryUser &operator=(const OrdinaryUser &) = delete;

    bool usable() const { return m_usable; }
    QString reason() const { return m_reason; }

private:
    // The folder and what it holds become nobody's, as a learner's own files are.
    static bool handOver(const QString &folder)
    {
        bool ok = ::chown(QFile::encodeName(folder).constData(), Nobody, Nobody) == 0;
        QDirIterator it(folder,
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            ok = ::lchown(QFile::encodeName(it.next()).constData(), Nobody, Nobody) == 0 && ok;
        return ok;
    }

    QString m_folder;
    QString m_reason;
    bool m_usable = false;
    bool m_switched = false;
};
