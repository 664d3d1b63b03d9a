#include "QtSoundPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer(QObject *parent)
    : QObject(parent)
    , m_effect(new QSoundEffect(this))
{
    connect(m_effect, &QSoundEffect::statusChanged, this, &QtSoundPlayer::startWhenLoaded);
}

void QtSoundPlayer::play(const QString &path)
{
    m_effect->stop();
    if (!QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (m_effect->source() == source && m_effect->status() == QSoundEffect::Ready) {
        m_effect->play();
        return;
    }
    m_effect->setSource(source); // loads asynchronously; startWhenLoaded plays it
}

void QtSoundPlayer::startWhenLoaded()
{
    switch (m_effect->status()) {
    case QSoundEffect::Ready:
        m_effect->play();
        break;
    case QSoundEffect::Error:
        QApplication::beep();
        break;
    default:
        break;
    }
}
